#include "workbook/xls/CompoundFile.h"

#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/XlsError.h"

#include <algorithm>
#include <array>

namespace setzaiko::xls {

namespace {

constexpr std::uint32_t endOfChain = 0xFFFFFFFE;
constexpr std::uint32_t noStream = 0xFFFFFFFF;
constexpr std::size_t headerDifatEntries = 109;
constexpr std::size_t directoryEntrySize = 128;
constexpr std::uint8_t streamType = 2;
constexpr std::uint8_t rootType = 5;

constexpr std::array<unsigned char, 8> signature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

} // namespace

CompoundFile::CompoundFile(QIODevice& device) : m_device(device)
{
    const qint64 size = device.size();
    if (size < 0) {
        fail(WorkbookFailure::Unreadable, "the file size is unknown");
    }
    m_fileSize = static_cast<std::uint64_t>(size);
    readHeader();
    readFat();
    readDirectory();
}

void CompoundFile::readHeader()
{
    std::array<unsigned char, 512> header{};
    if (m_fileSize < header.size() || !m_device.seek(0) ||
        m_device.read(reinterpret_cast<char*>(header.data()), header.size()) !=
            static_cast<qint64>(header.size())) {
        fail("not a compound file: too short");
    }
    if (!std::equal(signature.begin(), signature.end(), header.begin())) {
        fail(WorkbookFailure::NotAWorkbook, "not a compound file: no signature");
    }
    const std::uint16_t major = u16At(&header[0x1A]);
    m_sectorShift = u16At(&header[0x1E]);
    m_miniSectorShift = u16At(&header[0x20]);
    if (!((major == 3 && m_sectorShift == 9) || (major == 4 && m_sectorShift == 12)) ||
        m_miniSectorShift != 6 || u16At(&header[0x1C]) != 0xFFFE) {
        fail("unsupported compound file version or sector size");
    }
    const std::uint64_t sectorSize = std::uint64_t{1} << m_sectorShift;
    if (m_fileSize < sectorSize) {
        fail("the file ends inside the compound file header");
    }
    m_sectorCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        (m_fileSize - sectorSize + sectorSize - 1) / sectorSize, 0xFFFFFFF0));
    m_fatSectorCount = u32At(&header[0x2C]);
    m_firstDirectorySector = u32At(&header[0x30]);
    m_miniCutoff = u32At(&header[0x38]);
    m_firstMiniFatSector = u32At(&header[0x3C]);
    m_miniFatSectorCount = u32At(&header[0x40]);
    m_firstDifatSector = u32At(&header[0x44]);
    m_difatSectorCount = u32At(&header[0x48]);
    m_headerDifat.resize(headerDifatEntries);
    for (std::size_t i = 0; i < headerDifatEntries; ++i) {
        m_headerDifat[i] = u32At(&header[0x4C + 4 * i]);
    }
}

std::vector<unsigned char> CompoundFile::readSector(std::uint32_t sector) const
{
    if (sector >= m_sectorCount) {
        fail("a sector number lies beyond the end of the file");
    }
    const std::uint64_t sectorSize = std::uint64_t{1} << m_sectorShift;
    const std::uint64_t offset = (std::uint64_t{sector} + 1) << m_sectorShift;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(sectorSize), 0);
    const std::uint64_t available = std::min(sectorSize, m_fileSize - offset);
    if (!m_device.seek(static_cast<qint64>(offset)) ||
        m_device.read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(available)) !=
            static_cast<qint64>(available)) {
        fail(WorkbookFailure::Unreadable, "cannot read a sector of the file");
    }
    return bytes;
}

void CompoundFile::readFat()
{
    if (m_fatSectorCount == 0 || m_fatSectorCount > m_sectorCount ||
        m_difatSectorCount > m_sectorCount) {
        fail("the FAT size does not fit the file");
    }
    std::vector<std::uint32_t> fatSectors;
    fatSectors.reserve(m_fatSectorCount);
    for (std::size_t i = 0; i < headerDifatEntries && fatSectors.size() < m_fatSectorCount; ++i) {
        fatSectors.push_back(m_headerDifat[i]);
    }
    // Every DIFAT sector is read at most once, so a loop in the DIFAT chain ends the read.
    const std::size_t entriesPerSector = (std::size_t{1} << m_sectorShift) / 4;
    std::vector<bool> seen(m_sectorCount, false);
    std::uint32_t difat = m_firstDifatSector;
    for (std::uint32_t i = 0; i < m_difatSectorCount && fatSectors.size() < m_fatSectorCount; ++i) {
        if (difat >= m_sectorCount || seen[difat]) {
            fail("the DIFAT chain is broken");
        }
        seen[difat] = true;
        const std::vector<unsigned char> bytes = readSector(difat);
        for (std::size_t e = 0; e + 1 < entriesPerSector && fatSectors.size() < m_fatSectorCount;
             ++e) {
            fatSectors.push_back(u32At(&bytes[4 * e]));
        }
        difat = u32At(&bytes[4 * (entriesPerSector - 1)]);
    }
    if (fatSectors.size() < m_fatSectorCount) {
        fail("the DIFAT lists fewer FAT sectors than the header declares");
    }
    m_fat.reserve(fatSectors.size() * entriesPerSector);
    for (const std::uint32_t sector : fatSectors) {
        const std::vector<unsigned char> bytes = readSector(sector);
        for (std::size_t e = 0; e < entriesPerSector; ++e) {
            m_fat.push_back(u32At(&bytes[4 * e]));
        }
    }
}

std::vector<std::uint32_t> CompoundFile::chain(const std::vector<std::uint32_t>& fat,
                                               std::uint32_t start, std::uint64_t limit) const
{
    // A chain can never be longer than the sectors there are, so a longer walk is a cycle.
    std::vector<std::uint32_t> sectors;
    std::uint32_t sector = start;
    while (sector != endOfChain) {
        if (sector >= fat.size() || sector >= limit) {
            fail("a sector chain points outside the file");
        }
        if (sectors.size() >= limit) {
            fail("a sector chain runs in a cycle");
        }
        sectors.push_back(sector);
        sector = fat[sector];
    }
    return sectors;
}

void CompoundFile::readDirectory()
{
    const std::vector<std::uint32_t> sectors = chain(m_fat, m_firstDirectorySector, m_sectorCount);
    if (sectors.empty()) {
        fail("the compound file has no directory");
    }
    const std::size_t perSector = (std::size_t{1} << m_sectorShift) / directoryEntrySize;
    m_directory.reserve(sectors.size() * perSector);
    for (const std::uint32_t sector : sectors) {
        const std::vector<unsigned char> bytes = readSector(sector);
        for (std::size_t e = 0; e < perSector; ++e) {
            const unsigned char* p = &bytes[e * directoryEntrySize];
            DirectoryEntry entry;
            const std::uint16_t nameBytes = u16At(p + 0x40);
            if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0) {
                const int length = nameBytes / 2 - 1;
                entry.name.resize(length);
                for (int i = 0; i < length; ++i) {
                    entry.name[i] = QChar(u16At(p + 2 * i));
                }
            }
            entry.type = p[0x42];
            entry.left = u32At(p + 0x44);
            entry.right = u32At(p + 0x48);
            entry.child = u32At(p + 0x4C);
            entry.start = u32At(p + 0x74);
            entry.size = m_sectorShift == 9 ? u32At(p + 0x78) : u64At(p + 0x78);
            m_directory.push_back(std::move(entry));
        }
    }
    if (m_directory.front().type != rootType) {
        fail("the directory has no root entry");
    }
}

std::optional<std::size_t> CompoundFile::findInRoot(const QString& name) const
{
    // The entries of one storage form a tree of siblings below the storage's child.
    std::vector<bool> visited(m_directory.size(), false);
    std::vector<std::uint32_t> pending{m_directory.front().child};
    while (!pending.empty()) {
        const std::uint32_t index = pending.back();
        pending.pop_back();
        if (index == noStream) {
            continue;
        }
        if (index >= m_directory.size() || visited[index]) {
            fail("the directory tree is damaged");
        }
        visited[index] = true;
        const DirectoryEntry& entry = m_directory[index];
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            return index;
        }
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return std::nullopt;
}

std::vector<unsigned char> CompoundFile::readMiniStream(const DirectoryEntry& entry)
{
    const DirectoryEntry& root = m_directory.front();
    const std::vector<std::uint32_t> containerSectors = chain(m_fat, root.start, m_sectorCount);
    const std::uint64_t containerSize = root.size;
    if (containerSize > std::uint64_t{containerSectors.size()} << m_sectorShift) {
        fail("the mini stream is larger than its sectors");
    }
    CfbStream container(m_device, containerSectors, m_sectorShift, containerSize);

    const std::vector<std::uint32_t> miniFatSectors =
        chain(m_fat, m_firstMiniFatSector, m_sectorCount);
    std::vector<std::uint32_t> miniFat;
    miniFat.reserve(miniFatSectors.size() << (m_sectorShift - 2));
    for (const std::uint32_t sector : miniFatSectors) {
        const std::vector<unsigned char> bytes = readSector(sector);
        for (std::size_t e = 0; e < bytes.size() / 4; ++e) {
            miniFat.push_back(u32At(&bytes[4 * e]));
        }
    }

    const std::uint64_t miniSize = std::uint64_t{1} << m_miniSectorShift;
    const std::vector<std::uint32_t> miniSectors =
        chain(miniFat, entry.start, containerSize / miniSize);
    if (entry.size > miniSectors.size() * miniSize) {
        fail("a stream is larger than its sectors");
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(entry.size));
    for (std::size_t i = 0; i * miniSize < entry.size; ++i) {
        const std::uint64_t n = std::min(miniSize, entry.size - i * miniSize);
        container.read(std::uint64_t{miniSectors[i]} << m_miniSectorShift,
                       bytes.data() + i * miniSize, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::unique_ptr<CfbStream> CompoundFile::openRootStream(const std::vector<QString>& names)
{
    for (const QString& name : names) {
        const std::optional<std::size_t> index = findInRoot(name);
        if (!index || m_directory[*index].type != streamType) {
            continue;
        }
        const DirectoryEntry& entry = m_directory[*index];
        if (entry.size < m_miniCutoff) {
            return std::make_unique<CfbStream>(readMiniStream(entry));
        }
        std::vector<std::uint32_t> sectors = chain(m_fat, entry.start, m_sectorCount);
        if (entry.size > std::uint64_t{sectors.size()} << m_sectorShift) {
            fail("a stream is larger than its sectors");
        }
        return std::make_unique<CfbStream>(m_device, std::move(sectors), m_sectorShift, entry.size);
    }
    return nullptr;
}

} // namespace setzaiko::xls
