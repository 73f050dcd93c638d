#pragma once

#include "import/xlsx/RawInflate.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct zip;
struct zip_file;

namespace setzaiko::xlsx {

// One stored entry of the archive, as its central directory declares it.
struct ZipEntry
{
    std::uint64_t index = 0;
    std::uint64_t size = 0;           // inflated
    std::uint64_t compressedSize = 0; // as stored
    std::uint32_t crc = 0;            // of the inflated bytes
    bool deflated = false;            // else stored
    std::string name;                 // as the archive stores it: what a refusal names
};

// A zip archive held in memory, read through libzip. Every entry name is unique (compared
// without regard to case, as package part names are), every entry is stored or deflated and
// unencrypted, and no entry declares more than deflate could ever inflate from its stored
// bytes. One archive is read by one thread at a time; another thread opens its own archive
// over the same bytes.
class ZipArchive
{
public:
    // Throws WorkbookError for anything libzip does not accept as a consistent archive.
    explicit ZipArchive(QByteArray bytes);
    ~ZipArchive();

    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    const QByteArray& bytes() const { return m_bytes; }

    // The entry of a part name ("xl/workbook.xml", no leading slash), or nullopt.
    std::optional<ZipEntry> find(const QString& name) const;

    // The largest amount a deflated entry of that stored size can inflate to.
    static std::uint64_t inflateBound(std::uint64_t compressedSize);

private:
    friend class ZipEntryReader;

    QByteArray m_bytes;
    zip* m_archive = nullptr;
    QHash<QString, ZipEntry> m_entries; // by case-folded name
};

// Streams one entry out of an archive. Reading more than the entry declares, or less, or
// bytes whose checksum is not the declared one, is damage. libzip hands over a deflated
// entry's stored bytes, and RawInflate inflates them.
class ZipEntryReader
{
public:
    ZipEntryReader(ZipArchive& archive, const ZipEntry& entry);
    ~ZipEntryReader();

    ZipEntryReader(const ZipEntryReader&) = delete;
    ZipEntryReader& operator=(const ZipEntryReader&) = delete;

    // Fills up to capacity bytes; returns 0 once the whole entry has been read. Throws
    // WorkbookError.
    std::size_t read(char* destination, std::size_t capacity);
    // The inflated size the entry declares.
    std::uint64_t declaredSize() const { return m_declared; }

private:
    std::size_t inflateInto(char* destination, std::size_t capacity);

    ZipArchive& m_archive;
    zip_file* m_file = nullptr;
    std::uint64_t m_declared = 0;
    std::uint64_t m_read = 0;
    std::uint32_t m_crc = 0;
    std::unique_ptr<RawInflate> m_inflate; // for a deflated entry
    std::vector<char> m_stored;            // its stored bytes read, not yet inflated
    std::size_t m_storedAt = 0;
    std::size_t m_storedEnd = 0;
    bool m_storedDone = false;
};

} // namespace setzaiko::xlsx
