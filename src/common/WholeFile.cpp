#include "common/WholeFile.h"

#include "common/HugePages.h"

#include <QFile>

namespace setzaiko {

QByteArray readWholeFile(QFile& file)
{
    constexpr qint64 largeFile = qint64{4} << 20;
    const qint64 size = file.size() - file.pos();
    if (size < largeFile) {
        return file.readAll();
    }
    QByteArray bytes(size, Qt::Uninitialized);
    adviseHugePages(bytes.data(), static_cast<std::size_t>(size));
    qint64 read = 0;
    while (read < size) {
        const qint64 step = file.read(bytes.data() + read, size - read);
        if (step <= 0) {
            break;
        }
        read += step;
    }
    bytes.truncate(read);
    if (read == size) {
        bytes.append(file.readAll());
    }
    return bytes;
}

} // namespace setzaiko
