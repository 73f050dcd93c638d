#include "support/CompoundFileImage.h"

#include <QtEndian>

#include <algorithm>
#include <set>

namespace setzaiko::testing {

namespace {

constexpr char Signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

} // namespace

CompoundFileImage::CompoundFileImage(QByteArray bytes) : m_bytes(std::move(bytes))
{
    if (m_bytes.size() < 512 || !m_bytes.startsWith(QByteArray(Signature, 8))) {
        throw ImageError("not a compound file");
    }
    const auto shift = qFromLittleEndian<quint16>(m_bytes.constData() + header::SectorShift);
    if (shift != 9 && shift != 12) {
        throw ImageError("unexpected sector size");
    }
    m_sectorSize = 1 << shift;
}

std::uint32_t CompoundFileImage::sectorCount() const
{
    const qint64 count = m_bytes.size() / m_sectorSize - 1;
    return count > 0 ? static_cast<std::uint32_t>(count) : 0;
}

qint64 CompoundFileImage::sectorOffset(std::uint32_t sector) const
{
    return (qint64{sector} + 1) * m_sectorSize;
}

std::uint32_t CompoundFileImage::read32(qint64 offset) const
{
    if (offset < 0 || offset + 4 > m_bytes.size()) {
        throw ImageError("read beyond the end of the file");
    }
    return qFromLittleEndian<quint32>(m_bytes.constData() + offset);
}

void CompoundFileImage::write32(qint64 offset, std::uint32_t value)
{
    if (offset < 0 || offset + 4 > m_bytes.size()) {
        throw ImageError("write beyond the end of the file");
    }
    qToLittleEndian<quint32>(value, m_bytes.data() + offset);
}

std::uint32_t CompoundFileImage::header32(int offset) const
{
    return read32(offset);
}

void CompoundFileImage::setHeader32(int offset, std::uint32_t value)
{
    write32(offset, value);
}

void CompoundFileImage::setHeader16(int offset, std::uint16_t value)
{
    qToLittleEndian<quint16>(value, m_bytes.data() + offset);
}

std::vector<std::uint32_t> CompoundFileImage::fatSectors() const
{
    const std::uint32_t count = header32(header::FatSectorCount);
    std::vector<std::uint32_t> sectors;
    for (int i = 0; i < 109 && sectors.size() < count; ++i) {
        sectors.push_back(read32(header::Difat + 4 * i));
    }
    const int perSector = m_sectorSize / 4;
    std::set<std::uint32_t> seen;
    std::uint32_t difat = header32(header::DifatStart);
    while (sectors.size() < count && difat < sectorCount() && seen.insert(difat).second) {
        for (int i = 0; i < perSector - 1 && sectors.size() < count; ++i) {
            sectors.push_back(read32(sectorOffset(difat) + 4 * i));
        }
        difat = read32(sectorOffset(difat) + 4 * (perSector - 1));
    }
    return sectors;
}

std::uint32_t CompoundFileImage::fatEntry(std::uint32_t sector) const
{
    const std::uint32_t perSector = static_cast<std::uint32_t>(m_sectorSize / 4);
    const auto fat = fatSectors();
    if (sector / perSector >= fat.size()) {
        throw ImageError("sector beyond the allocation table");
    }
    return read32(sectorOffset(fat[sector / perSector]) + 4 * (sector % perSector));
}

void CompoundFileImage::setFatEntry(std::uint32_t sector, std::uint32_t next)
{
    const std::uint32_t perSector = static_cast<std::uint32_t>(m_sectorSize / 4);
    const auto fat = fatSectors();
    if (sector / perSector >= fat.size()) {
        throw ImageError("sector beyond the allocation table");
    }
    write32(sectorOffset(fat[sector / perSector]) + 4 * (sector % perSector), next);
}

std::vector<std::uint32_t> CompoundFileImage::chain(std::uint32_t start) const
{
    std::vector<std::uint32_t> sectors;
    std::set<std::uint32_t> seen;
    for (std::uint32_t s = start; s < sectorCount() && seen.insert(s).second; s = fatEntry(s)) {
        sectors.push_back(s);
    }
    return sectors;
}

std::vector<CompoundFileImage::DirectoryEntry> CompoundFileImage::directory() const
{
    std::vector<DirectoryEntry> entries;
    int index = 0;
    for (std::uint32_t sector : chain(header32(header::DirectoryStart))) {
        for (int pos = 0; pos < m_sectorSize; pos += 128, ++index) {
            const char* raw = m_bytes.constData() + sectorOffset(sector) + pos;
            DirectoryEntry e;
            e.index = index;
            const int length =
                std::clamp<int>(qFromLittleEndian<quint16>(raw + entry::NameLength), 2, 64);
            e.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(raw), length / 2 - 1);
            e.type = static_cast<unsigned char>(raw[entry::Type]);
            e.start = qFromLittleEndian<quint32>(raw + entry::StartSector);
            e.size = qFromLittleEndian<quint64>(raw + entry::StreamSize);
            if (m_sectorSize == 512) {
                e.size &= 0xFFFFFFFFu;
            }
            entries.push_back(e);
        }
    }
    return entries;
}

CompoundFileImage::DirectoryEntry CompoundFileImage::entry(const QString& name) const
{
    for (const DirectoryEntry& e : directory()) {
        if (e.type != 0 && e.name.compare(name, Qt::CaseInsensitive) == 0) {
            return e;
        }
    }
    throw ImageError("no directory entry " + name.toStdString());
}

qint64 CompoundFileImage::entryOffset(int index, int field) const
{
    const int perSector = m_sectorSize / 128;
    const auto sectors = chain(header32(header::DirectoryStart));
    const auto which = static_cast<std::size_t>(index / perSector);
    if (which >= sectors.size()) {
        throw ImageError("directory entry beyond the directory");
    }
    return sectorOffset(sectors[which]) + 128 * (index % perSector) + field;
}

void CompoundFileImage::setEntry32(const QString& name, int field, std::uint32_t value)
{
    write32(entryOffset(entry(name).index, field), value);
}

QByteArray CompoundFileImage::stream(const QString& name) const
{
    const DirectoryEntry e = entry(name);
    if (e.size < 4096) {
        throw ImageError("stream in the mini stream");
    }
    QByteArray data;
    for (std::uint32_t sector : chain(e.start)) {
        data.append(m_bytes.mid(sectorOffset(sector), m_sectorSize));
    }
    if (static_cast<std::uint64_t>(data.size()) < e.size) {
        throw ImageError("stream chain shorter than its size");
    }
    data.truncate(static_cast<qsizetype>(e.size));
    return data;
}

void CompoundFileImage::overwriteStream(const QString& name, const QByteArray& data)
{
    const DirectoryEntry e = entry(name);
    if (static_cast<std::uint64_t>(data.size()) > e.size || e.size < 4096) {
        throw ImageError("stream cannot hold the data in place");
    }
    qsizetype done = 0;
    for (std::uint32_t sector : chain(e.start)) {
        if (done >= data.size()) {
            break;
        }
        const qsizetype n = std::min<qsizetype>(m_sectorSize, data.size() - done);
        std::copy_n(data.constData() + done, n, m_bytes.data() + sectorOffset(sector));
        done += n;
    }
}

std::uint32_t CompoundFileImage::appendSector(const QByteArray& content)
{
    m_bytes.truncate((m_bytes.size() / m_sectorSize) * m_sectorSize);
    const std::uint32_t sector = sectorCount();
    m_bytes.append(content.left(m_sectorSize));
    m_bytes.append(
        QByteArray(m_sectorSize - std::min<qsizetype>(m_sectorSize, content.size()), '\0'));
    return sector;
}

QByteArray buildCompoundFile(const QString& streamName, QByteArray stream)
{
    constexpr int SectorSize = 512;
    constexpr int PerSector = SectorSize / 4;
    if (stream.size() < 4096) {
        stream.append(QByteArray(4096 - stream.size(), '\0'));
    }
    const auto streamSize = static_cast<std::uint32_t>(stream.size());
    const std::uint32_t streamSectors = (streamSize + SectorSize - 1) / SectorSize;
    stream.append(QByteArray(streamSectors * SectorSize - streamSize, '\0'));
    std::uint32_t fatCount = 1;
    while (fatCount * PerSector < streamSectors + 1 + fatCount) {
        ++fatCount;
    }
    if (fatCount > 109) {
        throw ImageError("stream too large for a header-only FAT");
    }
    const std::uint32_t directorySector = streamSectors;
    const std::uint32_t firstFat = streamSectors + 1;

    QByteArray file(SectorSize, '\0');
    char* h = file.data();
    std::copy_n(Signature, 8, h);
    qToLittleEndian<quint16>(0x3E, h + 24);
    qToLittleEndian<quint16>(3, h + header::MajorVersion);
    qToLittleEndian<quint16>(0xFFFE, h + 28);
    qToLittleEndian<quint16>(9, h + header::SectorShift);
    qToLittleEndian<quint16>(6, h + 32);
    qToLittleEndian<quint32>(fatCount, h + header::FatSectorCount);
    qToLittleEndian<quint32>(directorySector, h + header::DirectoryStart);
    qToLittleEndian<quint32>(4096, h + 56);
    qToLittleEndian<quint32>(EndOfChain, h + header::MiniFatStart);
    qToLittleEndian<quint32>(EndOfChain, h + header::DifatStart);
    for (int i = 0; i < 109; ++i) {
        qToLittleEndian<quint32>(i < static_cast<int>(fatCount) ? firstFat + i : FreeSector,
                                 h + header::Difat + 4 * i);
    }
    file.append(stream);

    QByteArray directory(SectorSize, '\0');
    auto writeEntry = [&directory](int index, const QString& name, int type, std::uint32_t start,
                                   std::uint32_t size, std::uint32_t child) {
        char* e = directory.data() + 128 * index;
        const QByteArray utf16(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
        std::copy_n(utf16.constData(), utf16.size(), e);
        qToLittleEndian<quint16>(static_cast<quint16>(utf16.size() + 2), e + entry::NameLength);
        e[entry::Type] = static_cast<char>(type);
        e[entry::Type + 1] = 1; // black
        qToLittleEndian<quint32>(FreeSector, e + entry::LeftSibling);
        qToLittleEndian<quint32>(FreeSector, e + entry::RightSibling);
        qToLittleEndian<quint32>(child, e + entry::Child);
        qToLittleEndian<quint32>(start, e + entry::StartSector);
        qToLittleEndian<quint32>(size, e + entry::StreamSize);
    };
    writeEntry(0, QStringLiteral("Root Entry"), 5, EndOfChain, 0, 1);
    writeEntry(1, streamName, 2, 0, streamSize, FreeSector);
    for (int i = 2; i < SectorSize / 128; ++i) {
        char* e = directory.data() + 128 * i;
        qToLittleEndian<quint32>(FreeSector, e + entry::LeftSibling);
        qToLittleEndian<quint32>(FreeSector, e + entry::RightSibling);
        qToLittleEndian<quint32>(FreeSector, e + entry::Child);
    }
    file.append(directory);

    std::vector<std::uint32_t> fat(fatCount * PerSector, FreeSector);
    for (std::uint32_t s = 0; s < streamSectors; ++s) {
        fat[s] = s + 1 < streamSectors ? s + 1 : EndOfChain;
    }
    fat[directorySector] = EndOfChain;
    for (std::uint32_t i = 0; i < fatCount; ++i) {
        fat[firstFat + i] = FatSector;
    }
    for (std::uint32_t value : fat) {
        char raw[4];
        qToLittleEndian<quint32>(value, raw);
        file.append(raw, 4);
    }
    return file;
}

} // namespace setzaiko::testing
