#include "common/WholeFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace setzaiko {
namespace {

// A file reads back byte for byte from where it stands, whether read as it comes or into room
// made for a large file at once.
TEST(WholeFile, ReadsBackEveryByteFromWhereTheFileStands)
{
    constexpr qint64 large = qint64{4} << 20;
    const struct
    {
        qint64 size;
        qint64 from;
    } cases[] = {{0, 0},
                 {1000, 0},
                 {large - 1, 0},
                 {large, 0},
                 {large * 2 + 12345, 0},
                 {large * 2 + 12345, 777},
                 {large + 10, 11}};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size * 1000 + c.from);
        QByteArray bytes(c.size, Qt::Uninitialized);
        for (qint64 i = 0; i < c.size; ++i) {
            bytes[i] = static_cast<char>(i * 7 + i / 4096);
        }
        QFile file(dir.filePath(QStringLiteral("whole")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), c.size);
        file.close();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_TRUE(file.seek(c.from));
        const QByteArray read = readWholeFile(file);
        EXPECT_EQ(file.error(), QFileDevice::NoError);
        EXPECT_TRUE(read == bytes.mid(c.from));
        file.close();
    }
}

} // namespace
} // namespace setzaiko
