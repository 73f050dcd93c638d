#include "workbook/xlsx/ZipArchive.h"

#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/ZipDirectory.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <zip.h>
#include <zlib.h>

namespace setzaiko::xlsx {

namespace {

std::string errorText(zip_error_t* error)
{
    return zip_error_strerror(error);
}

} // namespace

std::uint64_t ZipArchive::inflateBound(std::uint64_t compressedSize)
{
    // Deflate cannot expand data by more than about 1032 to 1; the slack covers the few bytes
    // every stream needs whatever it holds.
    constexpr std::uint64_t maxRatio = 1032;
    constexpr std::uint64_t slack = 4096;
    if (compressedSize > (UINT64_MAX - slack) / maxRatio) {
        return UINT64_MAX;
    }
    return compressedSize * maxRatio + slack;
}

ZipArchive::ZipArchive(QByteArray bytes) : m_bytes(std::move(bytes)) {}

ZipArchive::~ZipArchive() = default;

void ZipArchive::readDirectory() const
{
    // libzip reads the directory first, as a second reading that must agree with this one.
    // Its strict consistency check is left off: it refuses headers that differ only in their
    // times, which no reader uses; readZipDirectory compares what matters.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        m_bytes.constData(), static_cast<zip_uint64_t>(m_bytes.size()), 0, &error);
    if (!source) {
        const std::string what = errorText(&error);
        zip_error_fini(&error);
        fail("the archive cannot be read: " + what);
    }
    zip* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) {
        zip_source_free(source);
        const std::string what = errorText(&error);
        zip_error_fini(&error);
        fail("not a readable zip archive: " + what);
    }
    zip_error_fini(&error);
    const std::unique_ptr<zip, decltype(&zip_discard)> owner(archive, zip_discard);

    const std::vector<ZipDirectoryEntry> directory = readZipDirectory(m_bytes);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) != directory.size()) {
        fail("not a readable zip archive: its directory reads two ways");
    }
    QHash<QByteArray, ZipEntry> entries;
    entries.reserve(static_cast<qsizetype>(directory.size()));
    for (std::size_t index = 0; index < directory.size(); ++index) {
        const ZipDirectoryEntry& record = directory[index];
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &stat) != 0) {
            fail("an archive entry cannot be read");
        }
        const bool complete = (stat.valid & ZIP_STAT_NAME) && (stat.valid & ZIP_STAT_SIZE) &&
                              (stat.valid & ZIP_STAT_COMP_SIZE) &&
                              (stat.valid & ZIP_STAT_COMP_METHOD) && (stat.valid & ZIP_STAT_CRC) &&
                              (stat.valid & ZIP_STAT_ENCRYPTION_METHOD);
        // A refusal of one entry names it, so that a damaged package says where.
        const auto failEntry = [&stat](const char* problem) {
            fail((stat.valid & ZIP_STAT_NAME) ? std::string(stat.name) + ": " + problem
                                              : std::string(problem));
        };
        if (!complete) {
            failEntry("an archive entry lacks its sizes");
        }
        if (record.name != QByteArrayView(stat.name) || record.size != stat.size ||
            record.compressedSize != stat.comp_size || record.crc != stat.crc ||
            record.method != stat.comp_method) {
            failEntry("not a readable zip archive: its directory reads two ways");
        }
        if (stat.encryption_method != ZIP_EM_NONE || (record.flags & 0x41) != 0) {
            failEntry("an archive entry is encrypted");
        }
        if (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE) {
            failEntry("an archive entry is compressed in an unknown way");
        }
        if (stat.comp_method == ZIP_CM_STORE && stat.size != stat.comp_size) {
            failEntry("a stored archive entry declares two sizes");
        }
        if (stat.size > inflateBound(stat.comp_size)) {
            failEntry("an archive entry declares more than it can hold");
        }
        // Part names are equal when equal after ASCII case folding, and only then: the name
        // is compared as stored, since decoding could drop or fold characters.
        const QByteArray key = record.name.toLower();
        if (entries.contains(key)) {
            failEntry("two archive entries have the same name");
        }
        entries.insert(key, ZipEntry{index, record.size, record.compressedSize, record.crc,
                                     record.dataOffset, stat.comp_method == ZIP_CM_DEFLATE,
                                     record.name.toStdString()});
    }
    m_entries = std::move(entries);
    m_directoryRead = true;
}

std::optional<ZipEntry> ZipArchive::find(const QString& name) const
{
    if (!m_directoryRead) {
        readDirectory();
    }
    const auto found = m_entries.constFind(name.toUtf8().toLower());
    if (found == m_entries.cend()) {
        return std::nullopt;
    }
    return *found;
}

ZipEntryReader::ZipEntryReader(ZipArchive& archive, const ZipEntry& entry)
    : m_declared(entry.size), m_crc(entry.crc)
{
    const auto size = static_cast<std::uint64_t>(archive.bytes().size());
    if (entry.dataOffset > size || entry.compressedSize > size - entry.dataOffset) {
        fail("an archive entry lies beyond the archive");
    }
    m_stored = archive.bytes().constData() + entry.dataOffset;
    m_storedLeft = entry.compressedSize;
    if (archive.takenNotice()) {
        m_taken = &archive.takenNotice();
    }
    if (entry.deflated) {
        m_inflate = std::make_unique<RawInflate>();
    }
}

ZipEntryReader::~ZipEntryReader() = default;

std::size_t ZipEntryReader::read(char* destination, std::size_t capacity)
{
    const std::size_t n =
        m_inflate ? inflateInto(destination, capacity) : copyInto(destination, capacity);
    if (m_taken) {
        (*m_taken)(m_stored);
    }
    m_read += n;
    if (m_read > m_declared) {
        fail("an archive entry inflates beyond its declared size");
    }
    if (n == 0 && m_read != m_declared) {
        fail("an archive entry ends before its declared size");
    }
    const std::uint32_t checksum = m_inflate ? m_inflate->checksum() : m_copiedCrc;
    if (n == 0 && checksum != m_crc) {
        fail("an archive entry is damaged: its checksum is not the declared one");
    }
    return n;
}

std::size_t ZipEntryReader::copyInto(char* destination, std::size_t capacity)
{
    const auto n = static_cast<std::size_t>(
        std::min<std::uint64_t>({capacity, m_storedLeft, std::numeric_limits<uInt>::max()}));
    std::memcpy(destination, m_stored, n);
    m_copiedCrc = static_cast<std::uint32_t>(
        crc32(m_copiedCrc, reinterpret_cast<const Bytef*>(m_stored), static_cast<uInt>(n)));
    m_stored += n;
    m_storedLeft -= n;
    return n;
}

std::size_t ZipEntryReader::inflateInto(char* destination, std::size_t capacity)
{
    // The inflater takes the stored bytes in pieces of a size every engine accepts.
    constexpr std::uint64_t piece = 1 << 20;
    while (capacity > 0 && !m_inflate->finished()) {
        const std::size_t offered = static_cast<std::size_t>(std::min(m_storedLeft, piece));
        const RawInflate::Step step = m_inflate->step(m_stored, offered, destination, capacity);
        m_stored += step.consumed;
        m_storedLeft -= step.consumed;
        if (step.produced > 0) {
            return step.produced;
        }
        if (!m_inflate->finished() && step.consumed == 0 && m_storedLeft == 0) {
            fail("an archive entry ends before its declared size: its deflate data stop short");
        }
        if (!m_inflate->finished() && step.consumed == 0) {
            fail("an archive entry is damaged: its deflate data do not go on");
        }
    }
    return 0;
}

} // namespace setzaiko::xlsx
