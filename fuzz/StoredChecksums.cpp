#include "StoredChecksums.h"

#include <cstdint>
#include <cstring>
#include <zlib.h>

namespace setzaiko::fuzz {

namespace {

std::uint32_t u32At(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::uint16_t u16At(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void putU32(QByteArray& bytes, qsizetype at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

bool fits(const QByteArray& bytes, std::uint64_t at, std::uint64_t length)
{
    return at <= static_cast<std::uint64_t>(bytes.size()) &&
           length <= static_cast<std::uint64_t>(bytes.size()) - at;
}

} // namespace

void mendStoredChecksums(QByteArray& archive)
{
    constexpr qsizetype endRecordSize = 22;
    if (archive.size() < endRecordSize) {
        return;
    }
    // The end record, allowing for a comment after it.
    const qsizetype end = archive.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (end < 0 || !fits(archive, static_cast<std::uint64_t>(end), endRecordSize)) {
        return;
    }
    const std::uint16_t count = u16At(archive, end + 10);
    std::uint64_t at = u32At(archive, end + 16);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!fits(archive, at, 46) || std::memcmp(archive.constData() + at, "PK\x01\x02", 4) != 0) {
            return;
        }
        const auto central = static_cast<qsizetype>(at);
        const std::uint16_t method = u16At(archive, central + 10);
        const std::uint32_t storedSize = u32At(archive, central + 20);
        const std::uint64_t local = u32At(archive, central + 42);
        at += 46ULL + u16At(archive, central + 28) + u16At(archive, central + 30) +
              u16At(archive, central + 32);
        if (method != 0 || !fits(archive, local, 30) ||
            std::memcmp(archive.constData() + local, "PK\x03\x04", 4) != 0) {
            continue;
        }
        const auto localAt = static_cast<qsizetype>(local);
        const std::uint64_t data =
            local + 30 + u16At(archive, localAt + 26) + u16At(archive, localAt + 28);
        if (!fits(archive, data, storedSize)) {
            continue;
        }
        const auto crc = static_cast<std::uint32_t>(
            crc32_z(0, reinterpret_cast<const Bytef*>(archive.constData()) + data, storedSize));
        putU32(archive, central + 16, crc);
        putU32(archive, localAt + 14, crc);
    }
}

} // namespace setzaiko::fuzz
