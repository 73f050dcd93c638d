#pragma once

#include "workbook/xls/CfbStream.h"

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace setzaiko::xls {

// The container of an Excel 97-2003 workbook: a compound file of sectors chained through
// the FAT, with a directory of streams. Every index and length read from the file is checked
// against the file's real size, and every chain is walked without recursion and with a bound
// on its length, so that a damaged file fails instead of looping or allocating without end.
class CompoundFile
{
public:
    // Reads header, DIFAT, FAT and directory. Throws WorkbookError.
    explicit CompoundFile(QIODevice& device);

    // The first of the named streams that stands directly in the root storage (names compare
    // without regard to case), or nullptr.
    std::unique_ptr<CfbStream> openRootStream(const std::vector<QString>& names);

private:
    struct DirectoryEntry
    {
        QString name;
        std::uint8_t type = 0;
        std::uint32_t left = 0;
        std::uint32_t right = 0;
        std::uint32_t child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    void readHeader();
    void readFat();
    void readDirectory();
    std::vector<std::uint32_t> chain(const std::vector<std::uint32_t>& fat, std::uint32_t start,
                                     std::uint64_t limit) const;
    std::vector<unsigned char> readSector(std::uint32_t sector) const;
    std::vector<unsigned char> readMiniStream(const DirectoryEntry& entry);
    std::optional<std::size_t> findInRoot(const QString& name) const;

    QIODevice& m_device;
    std::uint64_t m_fileSize = 0;
    int m_sectorShift = 9;
    int m_miniSectorShift = 6;
    std::uint32_t m_miniCutoff = 4096;
    std::uint32_t m_sectorCount = 0; // sectors that start inside the file
    std::uint32_t m_fatSectorCount = 0;
    std::uint32_t m_firstDirectorySector = 0;
    std::uint32_t m_firstMiniFatSector = 0;
    std::uint32_t m_miniFatSectorCount = 0;
    std::uint32_t m_firstDifatSector = 0;
    std::uint32_t m_difatSectorCount = 0;
    std::vector<std::uint32_t> m_headerDifat;
    std::vector<std::uint32_t> m_fat;
    std::vector<DirectoryEntry> m_directory;
};

} // namespace setzaiko::xls
