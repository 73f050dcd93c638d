#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace setzaiko::xlsx {

// One record of an archive's central directory, with where its stored bytes begin as its
// local header places them.
struct ZipDirectoryEntry
{
    QByteArray name; // as stored, undecoded
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t headerOffset = 0;
    std::uint64_t dataOffset = 0;
};

// The central directory of a zip archive held in memory, in directory order. Every entry's
// local header must agree with its record on what the reader relies on (name, method,
// encryption, checksum and sizes where the header carries them) and lie, with its data,
// before the central directory; no two entries may share a byte. Times, dates, versions and
// extra fields other than the sizes of large entries are never compared: no reader uses them.
// Throws WorkbookError.
std::vector<ZipDirectoryEntry> readZipDirectory(const QByteArray& bytes);

} // namespace setzaiko::xlsx
