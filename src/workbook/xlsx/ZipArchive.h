#pragma once

#include "workbook/xlsx/RawInflate.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace setzaiko::xlsx {

// One stored entry of the archive, as its central directory declares it.
struct ZipEntry
{
    std::uint64_t index = 0;
    std::uint64_t size = 0;           // inflated
    std::uint64_t compressedSize = 0; // as stored
    std::uint32_t crc = 0;            // of the inflated bytes
    std::uint64_t dataOffset = 0;     // where the stored bytes begin in the archive
    bool deflated = false;            // else stored
    std::string name;                 // as the archive stores it: what a refusal names
};

// A zip archive held in memory. Its directory is read when a part is first looked up, so
// that a reader handed an entry of an archive already looked into reads it without reading
// the directory again. Every entry name is unique (compared after ASCII case folding, as
// package part names are), every entry is stored or deflated and unencrypted, no entry
// declares more than deflate could ever inflate from its stored bytes, every local header
// agrees with the central directory on what the reader uses, and no two entries share a
// byte. One archive is read by one thread at a time; another thread opens its own archive
// over the same bytes.
class ZipArchive
{
public:
    explicit ZipArchive(QByteArray bytes);
    ~ZipArchive();

    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    const QByteArray& bytes() const { return m_bytes; }

    // The entry of a part name ("xl/workbook.xml", no leading slash), or nullopt. Throws
    // WorkbookError for anything that is not a consistent archive of such entries.
    std::optional<ZipEntry> find(const QString& name) const;

    // The largest amount a deflated entry of that stored size can inflate to.
    static std::uint64_t inflateBound(std::uint64_t compressedSize);

    // Told by each reader, on its thread, as it takes an entry's stored bytes, where those it
    // has not taken start: for the holder of bytes read once, front to back, to let go of
    // those before. Set before any reader opens.
    using TakenNotice = std::function<void(const char* untaken)>;
    void noticeTaken(TakenNotice notice) { m_taken = std::move(notice); }
    const TakenNotice& takenNotice() const { return m_taken; }

private:
    void readDirectory() const;

    TakenNotice m_taken;
    QByteArray m_bytes;
    mutable bool m_directoryRead = false;
    mutable QHash<QByteArray, ZipEntry> m_entries; // by name as stored, ASCII case folded
};

// Streams one entry out of an archive. Reading more than the entry declares, or less, or
// bytes whose checksum is not the declared one, is damage. A deflated entry's stored bytes
// are inflated by RawInflate straight from the archive's bytes.
class ZipEntryReader
{
public:
    // Throws WorkbookError where the entry's stored bytes do not lie within the archive.
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
    std::size_t copyInto(char* destination, std::size_t capacity);
    std::size_t inflateInto(char* destination, std::size_t capacity);

    const char* m_stored = nullptr; // the entry's stored bytes not yet taken
    std::uint64_t m_storedLeft = 0;
    std::uint64_t m_declared = 0;
    std::uint64_t m_read = 0;
    std::uint32_t m_crc = 0;
    std::uint32_t m_copiedCrc = 0;         // of a stored entry's bytes given out
    std::unique_ptr<RawInflate> m_inflate; // for a deflated entry
    const ZipArchive::TakenNotice* m_taken = nullptr;
};

} // namespace setzaiko::xlsx
