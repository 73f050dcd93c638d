// An entry inflated on a thread of its own reads as the entry itself, whatever the sizes it
// is read in; damage arrives after the bytes before it; and a reader that stops early, with
// the thread waiting to hand on more, is not held up.

#include "workbook/xlsx/InflateAhead.h"

#include "workbook/Workbook.h"
#include "workbook/xlsx/StoredArchive.h"
#include "workbook/xlsx/ZipArchive.h"

#include <gtest/gtest.h>

#include <string>

using namespace setzaiko;
using namespace setzaiko::xlsx;
using setzaiko::testing::deflatedArchive;
using setzaiko::testing::storedArchive;

namespace {

// The entry stored, then deflated.
using ArchiveOf = QByteArray (*)(const std::string&, bool);
constexpr ArchiveOf archiveKinds[] = {storedArchive, deflatedArchive};

std::string content(std::size_t size)
{
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        bytes += std::to_string(i * 7919) + ",";
    }
    bytes.resize(size);
    return bytes;
}

TEST(InflateAhead, ReadsTheEntryInAnySizes)
{
    for (const auto& [size, archiveOf] : {std::pair{std::size_t{0}, archiveKinds[0]},
                                          {std::size_t{1}, archiveKinds[0]},
                                          {std::size_t{3} << 20, archiveKinds[0]},
                                          {std::size_t{0}, archiveKinds[1]},
                                          {std::size_t{3} << 20, archiveKinds[1]}}) {
        SCOPED_TRACE(size);
        const std::string expected = content(size);
        const QByteArray bytes = archiveOf(expected, false);
        ZipArchive archive(bytes);
        InflateAhead inflater(archive, *archive.find(QStringLiteral("p.xml")));
        std::string read;
        std::string piece(300000, '\0');
        for (std::size_t i = 1;; ++i) {
            const std::size_t n = inflater.read(piece.data(), (i * 65537) % piece.size() + 1);
            if (n == 0) {
                break;
            }
            read.append(piece.data(), n);
        }
        EXPECT_EQ(read, expected);
        EXPECT_EQ(inflater.read(piece.data(), piece.size()), 0u);
    }
}

TEST(InflateAhead, DamageArrivesAfterTheBytesBeforeIt)
{
    for (const ArchiveOf archiveOf : archiveKinds) {
        const std::string expected = content(2 << 20);
        const QByteArray bytes = archiveOf(expected, true);
        ZipArchive archive(bytes);
        InflateAhead inflater(archive, *archive.find(QStringLiteral("p.xml")));
        std::string read;
        std::string piece(100000, '\0');
        EXPECT_THROW(
            for (;;) {
                const std::size_t n = inflater.read(piece.data(), piece.size());
                ASSERT_NE(n, 0u);
                read.append(piece.data(), n);
            },
            WorkbookError);
        EXPECT_EQ(read, expected.substr(0, read.size()));
    }
}

TEST(InflateAhead, StoppingEarlyEndsTheThread)
{
    const QByteArray bytes = storedArchive(content(8 << 20));
    ZipArchive archive(bytes);
    for (int round = 0; round < 3; ++round) {
        InflateAhead inflater(archive, *archive.find(QStringLiteral("p.xml")));
        char byte = 0;
        if (round > 0) {
            EXPECT_EQ(inflater.read(&byte, 1), 1u);
        }
    }
}

} // namespace
