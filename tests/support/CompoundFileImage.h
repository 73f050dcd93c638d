#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace setzaiko::testing {

// Special sector numbers of a compound file's allocation table.
inline constexpr std::uint32_t FreeSector = 0xFFFFFFFFu;
inline constexpr std::uint32_t EndOfChain = 0xFFFFFFFEu;
inline constexpr std::uint32_t FatSector = 0xFFFFFFFDu;
inline constexpr std::uint32_t DifatSector = 0xFFFFFFFCu;

// Header fields, by byte offset.
namespace header {
inline constexpr int MajorVersion = 26; // 16 bits
inline constexpr int SectorShift = 30;  // 16 bits
inline constexpr int FatSectorCount = 44;
inline constexpr int DirectoryStart = 48;
inline constexpr int MiniFatStart = 60;
inline constexpr int MiniFatSectorCount = 64;
inline constexpr int DifatStart = 68;
inline constexpr int DifatSectorCount = 72;
inline constexpr int Difat = 76; // 109 entries of 32 bits
} // namespace header

// Directory entry fields, by byte offset within the 128-byte entry.
namespace entry {
inline constexpr int NameLength = 64; // 16 bits
inline constexpr int Type = 66;       // 8 bits
inline constexpr int LeftSibling = 68;
inline constexpr int RightSibling = 72;
inline constexpr int Child = 76;
inline constexpr int StartSector = 116;
inline constexpr int StreamSize = 120; // 64 bits
} // namespace entry

class ImageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A compound file held in memory, understood just far enough to be damaged on purpose: its
// header, allocation table, directory and the regular (not mini) streams. Every accessor
// works on the bytes as they are now, so damages can be stacked. Throws ImageError when the
// original is not a compound file it can follow.
class CompoundFileImage
{
public:
    struct DirectoryEntry
    {
        int index = 0;
        QString name;
        int type = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    explicit CompoundFileImage(QByteArray bytes);

    const QByteArray& bytes() const { return m_bytes; }
    int sectorSize() const { return m_sectorSize; }
    // Sectors after the header that the file holds completely.
    std::uint32_t sectorCount() const;
    qint64 sectorOffset(std::uint32_t sector) const;

    std::uint32_t header32(int offset) const;
    void setHeader32(int offset, std::uint32_t value);
    void setHeader16(int offset, std::uint16_t value);

    // The FAT sectors as listed by the header and the DIFAT chain.
    std::vector<std::uint32_t> fatSectors() const;
    std::uint32_t fatEntry(std::uint32_t sector) const;
    void setFatEntry(std::uint32_t sector, std::uint32_t next);
    // The sectors of a chain, stopping at its end, at a sector out of range or at the first
    // sector seen twice.
    std::vector<std::uint32_t> chain(std::uint32_t start) const;

    std::vector<DirectoryEntry> directory() const;
    DirectoryEntry entry(const QString& name) const;
    // Byte offset of a directory entry's field in the file.
    qint64 entryOffset(int index, int field) const;
    void setEntry32(const QString& name, int field, std::uint32_t value);

    // A stream stored in regular sectors, read through its chain.
    QByteArray stream(const QString& name) const;
    // Overwrites a regular stream's bytes in place (at most its current size).
    void overwriteStream(const QString& name, const QByteArray& data);

    // Appends one sector holding content (padded with zeros); returns its number. The
    // allocation table is left as it is.
    std::uint32_t appendSector(const QByteArray& content);

private:
    std::uint32_t read32(qint64 offset) const;
    void write32(qint64 offset, std::uint32_t value);

    QByteArray m_bytes;
    int m_sectorSize = 512;
};

// A compound file of version 3 holding one stream at the root, padded to at least 4096 bytes
// so that it lives in regular sectors: stream sectors first, then the directory, then the FAT.
QByteArray buildCompoundFile(const QString& streamName, QByteArray stream);

} // namespace setzaiko::testing
