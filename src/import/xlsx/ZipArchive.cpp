#include "import/xlsx/ZipArchive.h"

#include "import/xlsx/XlsxError.h"

#include <zip.h>

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

ZipArchive::ZipArchive(QByteArray bytes) : m_bytes(std::move(bytes))
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        m_bytes.constData(), static_cast<zip_uint64_t>(m_bytes.size()), 0, &error);
    if (!source) {
        const std::string what = errorText(&error);
        zip_error_fini(&error);
        fail("the archive cannot be read: " + what);
    }
    // Consistency checks compare every local header with its central directory entry, so that
    // sizes and offsets that disagree are found before anything is inflated.
    m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive) {
        zip_source_free(source);
        const std::string what = errorText(&error);
        zip_error_fini(&error);
        fail("not a readable zip archive: " + what);
    }
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(m_archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        const auto index = static_cast<zip_uint64_t>(i);
        if (zip_stat_index(m_archive, index, ZIP_FL_ENC_RAW, &stat) != 0) {
            zip_discard(m_archive);
            fail("an archive entry cannot be read");
        }
        const bool complete = (stat.valid & ZIP_STAT_NAME) && (stat.valid & ZIP_STAT_SIZE) &&
                              (stat.valid & ZIP_STAT_COMP_SIZE) &&
                              (stat.valid & ZIP_STAT_COMP_METHOD) && (stat.valid & ZIP_STAT_CRC) &&
                              (stat.valid & ZIP_STAT_ENCRYPTION_METHOD);
        std::string problem;
        if (!complete) {
            problem = "an archive entry lacks its sizes";
        } else if (stat.encryption_method != ZIP_EM_NONE) {
            problem = "an archive entry is encrypted";
        } else if (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE) {
            problem = "an archive entry is compressed in an unknown way";
        } else if (stat.comp_method == ZIP_CM_STORE && stat.size != stat.comp_size) {
            problem = "a stored archive entry declares two sizes";
        } else if (stat.size > inflateBound(stat.comp_size)) {
            problem = "an archive entry declares more than it can hold";
        }
        if (problem.empty()) {
            const QString key = QString::fromUtf8(stat.name).toCaseFolded();
            if (m_entries.contains(key)) {
                problem = "two archive entries have the same name";
            } else {
                m_entries.insert(key, ZipEntry{index, stat.size, stat.comp_size, stat.crc,
                                               stat.comp_method == ZIP_CM_DEFLATE, stat.name});
            }
        }
        if (!problem.empty()) {
            zip_discard(m_archive);
            fail((stat.valid & ZIP_STAT_NAME) ? std::string(stat.name) + ": " + problem : problem);
        }
    }
}

ZipArchive::~ZipArchive()
{
    zip_discard(m_archive);
}

std::optional<ZipEntry> ZipArchive::find(const QString& name) const
{
    const auto found = m_entries.find(name.toCaseFolded());
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    return *found;
}

ZipEntryReader::ZipEntryReader(ZipArchive& archive, const ZipEntry& entry)
    : m_archive(archive), m_declared(entry.size), m_crc(entry.crc)
{
    if (entry.deflated) {
        m_inflate = std::make_unique<RawInflate>();
    }
    m_file =
        zip_fopen_index(archive.m_archive, entry.index, entry.deflated ? ZIP_FL_COMPRESSED : 0);
    if (!m_file) {
        fail("an archive entry cannot be opened: " + errorText(zip_get_error(archive.m_archive)));
    }
}

ZipEntryReader::~ZipEntryReader()
{
    zip_fclose(m_file);
}

std::size_t ZipEntryReader::read(char* destination, std::size_t capacity)
{
    const zip_int64_t n = m_inflate ? static_cast<zip_int64_t>(inflateInto(destination, capacity))
                                    : zip_fread(m_file, destination, capacity);
    if (n < 0) {
        fail("an archive entry is damaged: " + errorText(zip_file_get_error(m_file)));
    }
    m_read += static_cast<std::uint64_t>(n);
    if (m_read > m_declared) {
        fail("an archive entry inflates beyond its declared size");
    }
    if (n == 0 && m_read != m_declared) {
        fail("an archive entry ends before its declared size");
    }
    if (n == 0 && m_inflate && m_inflate->checksum() != m_crc) {
        fail("an archive entry is damaged: its checksum is not the declared one");
    }
    return static_cast<std::size_t>(n);
}

std::size_t ZipEntryReader::inflateInto(char* destination, std::size_t capacity)
{
    // Deflate data shrink the stored bytes' share of the work: a small buffer serves.
    constexpr std::size_t storedChunk = 64 * 1024;
    while (capacity > 0 && !m_inflate->finished()) {
        if (m_storedAt == m_storedEnd && !m_storedDone) {
            m_stored.resize(storedChunk);
            const zip_int64_t n = zip_fread(m_file, m_stored.data(), m_stored.size());
            if (n < 0) {
                fail("an archive entry is damaged: " + errorText(zip_file_get_error(m_file)));
            }
            m_storedAt = 0;
            m_storedEnd = static_cast<std::size_t>(n);
            m_storedDone = n == 0;
        }
        const RawInflate::Step step = m_inflate->step(
            m_stored.data() + m_storedAt, m_storedEnd - m_storedAt, destination, capacity);
        m_storedAt += step.consumed;
        if (step.produced > 0) {
            return step.produced;
        }
        if (!m_inflate->finished() && step.consumed == 0 && m_storedAt == m_storedEnd &&
            m_storedDone) {
            fail("an archive entry ends before its declared size: its deflate data stop short");
        }
        if (!m_inflate->finished() && step.consumed == 0 && m_storedAt < m_storedEnd) {
            fail("an archive entry is damaged: its deflate data do not go on");
        }
    }
    return 0;
}

} // namespace setzaiko::xlsx
