#include "workbook/xlsx/ZipDirectory.h"

#include "workbook/xlsx/XlsxError.h"

#include <algorithm>
#include <optional>
#include <span>

namespace setzaiko::xlsx {

namespace {

constexpr std::uint32_t localSignature = 0x04034b50;
constexpr std::uint32_t centralSignature = 0x02014b50;
constexpr std::uint32_t endSignature = 0x06054b50;
constexpr std::uint32_t end64Signature = 0x06064b50;
constexpr std::uint32_t locator64Signature = 0x07064b50;
constexpr std::uint64_t localSize = 30;
constexpr std::uint64_t centralSize = 46;
constexpr std::uint64_t endSize = 22;
constexpr std::uint64_t end64Size = 56;
constexpr std::uint64_t locator64Size = 20;
constexpr std::uint32_t saturated32 = 0xFFFFFFFF;
constexpr std::uint16_t dataDescriptorFlag = 0x0008;

// Little-endian fields of the archive; every read is checked against the archive's end.
class Bytes
{
public:
    explicit Bytes(const QByteArray& bytes)
        : m_data(reinterpret_cast<const unsigned char*>(bytes.constData())),
          m_size(static_cast<std::uint64_t>(bytes.size()))
    {}

    std::uint64_t size() const { return m_size; }
    bool holds(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }
    std::uint64_t field(std::uint64_t offset, int width) const
    {
        if (!holds(offset, static_cast<std::uint64_t>(width))) {
            fail("not a readable zip archive: a record runs past the archive's end");
        }
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = (value << 8) | m_data[offset + static_cast<std::uint64_t>(i)];
        }
        return value;
    }
    std::uint16_t u16(std::uint64_t offset) const
    {
        return static_cast<std::uint16_t>(field(offset, 2));
    }
    std::uint32_t u32(std::uint64_t offset) const
    {
        return static_cast<std::uint32_t>(field(offset, 4));
    }
    std::uint64_t u64(std::uint64_t offset) const { return field(offset, 8); }
    QByteArray slice(std::uint64_t offset, std::uint64_t length) const
    {
        if (!holds(offset, length)) {
            fail("not a readable zip archive: a record runs past the archive's end");
        }
        return QByteArray(reinterpret_cast<const char*>(m_data + offset),
                          static_cast<qsizetype>(length));
    }

private:
    const unsigned char* m_data;
    std::uint64_t m_size;
};

struct Directory
{
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t count = 0;
};

// The central directory the end record (or its zip64 form) points at: the last end record
// whose comment fits in the archive.
Directory findDirectory(const Bytes& bytes)
{
    if (bytes.size() < endSize) {
        fail("not a readable zip archive: it has no end record");
    }
    const std::uint64_t lowest =
        bytes.size() - endSize > 0xFFFF ? bytes.size() - endSize - 0xFFFF : 0;
    std::optional<std::uint64_t> end;
    for (std::uint64_t at = bytes.size() - endSize + 1; at-- > lowest;) {
        if (bytes.u32(at) == endSignature && bytes.holds(at + endSize, bytes.u16(at + 20))) {
            end = at;
            break;
        }
    }
    if (!end) {
        fail("not a readable zip archive: it has no end record");
    }
    if (bytes.u16(*end + 4) != 0 || bytes.u16(*end + 6) != 0 ||
        bytes.u16(*end + 8) != bytes.u16(*end + 10)) {
        fail("not a readable zip archive: it spans several disks");
    }
    Directory directory{bytes.u32(*end + 16), bytes.u32(*end + 12), bytes.u16(*end + 10)};
    std::uint64_t limit = *end;
    const bool large = directory.count == 0xFFFF || directory.size == saturated32 ||
                       directory.offset == saturated32;
    if (large && *end >= locator64Size && bytes.u32(*end - locator64Size) == locator64Signature) {
        const std::uint64_t at = bytes.u64(*end - locator64Size + 8);
        if (bytes.u32(*end - locator64Size + 4) != 0 || bytes.u32(*end - locator64Size + 16) > 1 ||
            !bytes.holds(at, end64Size) || at + end64Size > *end - locator64Size ||
            bytes.u32(at) != end64Signature) {
            fail("not a readable zip archive: its zip64 end record is damaged");
        }
        if (bytes.u32(at + 16) != 0 || bytes.u32(at + 20) != 0 ||
            bytes.u64(at + 24) != bytes.u64(at + 32)) {
            fail("not a readable zip archive: it spans several disks");
        }
        directory = {bytes.u64(at + 48), bytes.u64(at + 40), bytes.u64(at + 32)};
        limit = at;
    }
    if (directory.offset > limit || directory.size > limit - directory.offset) {
        fail("not a readable zip archive: its central directory lies beyond its end record");
    }
    if (directory.count > directory.size / centralSize) {
        fail("not a readable zip archive: its central directory holds fewer records than "
             "declared");
    }
    return directory;
}

// The zip64 extra field's values, in their fixed order, for the fields that are saturated.
void readLargeSizes(const Bytes& bytes, std::uint64_t extra, std::uint64_t extraLength,
                    std::span<std::uint64_t* const> saturatedFields)
{
    std::uint64_t at = extra;
    const std::uint64_t end = extra + extraLength;
    while (at + 4 <= end) {
        const std::uint16_t id = bytes.u16(at);
        const std::uint16_t length = bytes.u16(at + 2);
        if (at + 4 + length > end) {
            break;
        }
        if (id == 0x0001) {
            std::uint64_t field = at + 4;
            for (std::uint64_t* value : saturatedFields) {
                if (field + 8 > at + 4 + length) {
                    fail("an archive entry lacks its sizes");
                }
                *value = bytes.u64(field);
                field += 8;
            }
            return;
        }
        at += 4 + length;
    }
    fail("an archive entry lacks its sizes");
}

ZipDirectoryEntry readCentralRecord(const Bytes& bytes, std::uint64_t& at, std::uint64_t end)
{
    if (at + centralSize > end || bytes.u32(at) != centralSignature) {
        fail("not a readable zip archive: a central directory record is damaged");
    }
    ZipDirectoryEntry entry;
    entry.flags = bytes.u16(at + 8);
    entry.method = bytes.u16(at + 10);
    entry.crc = bytes.u32(at + 16);
    entry.compressedSize = bytes.u32(at + 20);
    entry.size = bytes.u32(at + 24);
    const std::uint16_t nameLength = bytes.u16(at + 28);
    const std::uint16_t extraLength = bytes.u16(at + 30);
    const std::uint16_t commentLength = bytes.u16(at + 32);
    entry.headerOffset = bytes.u32(at + 42);
    const std::uint64_t length = centralSize + nameLength + extraLength + commentLength;
    if (length > end - at) {
        fail("not a readable zip archive: a central directory record is damaged");
    }
    entry.name = bytes.slice(at + centralSize, nameLength);
    std::vector<std::uint64_t*> large;
    for (std::uint64_t* field : {&entry.size, &entry.compressedSize, &entry.headerOffset}) {
        if (*field == saturated32) {
            large.push_back(field);
        }
    }
    if (!large.empty()) {
        readLargeSizes(bytes, at + centralSize + nameLength, extraLength, large);
    }
    if (bytes.u16(at + 34) != 0 && bytes.u16(at + 34) != 0xFFFF) {
        fail("not a readable zip archive: it spans several disks");
    }
    at += length;
    return entry;
}

// Checks the entry's local header against its central record, and places its data.
void readLocalHeader(const Bytes& bytes, ZipDirectoryEntry& entry, std::uint64_t directoryStart)
{
    const std::uint64_t at = entry.headerOffset;
    if (at > directoryStart || directoryStart - at < localSize || bytes.u32(at) != localSignature) {
        fail("an archive entry has no local header where the central directory places it");
    }
    const std::uint16_t flags = bytes.u16(at + 6);
    const std::uint16_t method = bytes.u16(at + 8);
    const std::uint32_t crc = bytes.u32(at + 14);
    std::uint64_t compressedSize = bytes.u32(at + 18);
    std::uint64_t size = bytes.u32(at + 22);
    const std::uint16_t nameLength = bytes.u16(at + 26);
    const std::uint16_t extraLength = bytes.u16(at + 28);
    entry.dataOffset = at + localSize + nameLength + extraLength;
    if (entry.dataOffset > directoryStart ||
        entry.compressedSize > directoryStart - entry.dataOffset) {
        fail("an archive entry's local header and data run into the central directory");
    }
    if (bytes.slice(at + localSize, nameLength) != entry.name) {
        fail("an archive entry's local header names another entry");
    }
    if (method != entry.method || (flags & 0x41) != (entry.flags & 0x41)) {
        fail("an archive entry's local header disagrees on its compression or encryption");
    }
    if (size == saturated32 || compressedSize == saturated32) {
        // A local header's zip64 field always holds both sizes.
        std::uint64_t* both[] = {&size, &compressedSize};
        readLargeSizes(bytes, at + localSize + nameLength, extraLength, both);
    }
    // A header written before its data may leave all three to a descriptor after them.
    const bool deferred =
        (flags & dataDescriptorFlag) && crc == 0 && compressedSize == 0 && size == 0;
    if (!deferred &&
        (crc != entry.crc || compressedSize != entry.compressedSize || size != entry.size)) {
        fail("an archive entry's local header disagrees on its sizes or checksum");
    }
}

} // namespace

std::vector<ZipDirectoryEntry> readZipDirectory(const QByteArray& archive)
{
    const Bytes bytes(archive);
    const Directory directory = findDirectory(bytes);
    std::vector<ZipDirectoryEntry> entries;
    entries.reserve(static_cast<std::size_t>(directory.count));
    std::uint64_t at = directory.offset;
    const std::uint64_t end = directory.offset + directory.size;
    for (std::uint64_t i = 0; i < directory.count; ++i) {
        entries.push_back(readCentralRecord(bytes, at, end));
        readLocalHeader(bytes, entries.back(), directory.offset);
    }
    if (at != end) {
        fail("not a readable zip archive: its central directory holds more than its records");
    }

    // Each entry owns its header and data: two entries on one region would let one stored
    // stream stand for two parts.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> regions;
    regions.reserve(entries.size());
    for (const ZipDirectoryEntry& entry : entries) {
        regions.emplace_back(entry.headerOffset, entry.dataOffset + entry.compressedSize);
    }
    std::sort(regions.begin(), regions.end());
    for (std::size_t i = 1; i < regions.size(); ++i) {
        if (regions[i].first < regions[i - 1].second) {
            fail("two archive entries overlap");
        }
    }
    return entries;
}

} // namespace setzaiko::xlsx
