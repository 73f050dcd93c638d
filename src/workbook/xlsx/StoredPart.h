#pragma once

#include "workbook/xlsx/PagesAllocator.h"
#include "workbook/xlsx/ZipArchive.h"

#include <QByteArray>

#include <vector>

namespace setzaiko::xlsx {

// One part's stored bytes, copied out of the workbook's, and its entry within them. A reader on
// a thread of its own holds its part, not the whole workbook, for as long as it reads: the
// workbook's bytes go once every such reader has its copy, and a part read slowly keeps only
// itself. An entry that does not lie within the workbook is kept as it is, in the workbook's
// bytes, for its reader to refuse.
class StoredPart
{
public:
    StoredPart(QByteArray workbook, const ZipEntry& entry);

    StoredPart(const StoredPart&) = delete;
    StoredPart& operator=(const StoredPart&) = delete;

    // What to open an archive over to read the entry: a view of the copy, or the workbook's.
    const QByteArray& bytes() const { return m_bytes; }
    const ZipEntry& entry() const { return m_entry; }
    // The bytes as a QByteArray of their own, which outlives the part; not once released.
    QByteArray ownBytes() const;

    // For a part read once, front to back: hands the memory of the copied bytes before
    // untaken back to the system, a megabyte and more at a time. They are not to be read
    // again.
    void releaseBefore(const char* untaken);
    // Some of the bytes are gone: the part cannot be read again from them.
    bool released() const { return m_releasedUpTo > 0; }

private:
    static constexpr std::size_t releaseStep = std::size_t{1} << 20;

    std::vector<char, PagesAllocator<char>> m_copy;
    bool m_copied = false;
    std::size_t m_releasedUpTo = 0; // bytes of the copy, from its start
    QByteArray m_bytes;
    ZipEntry m_entry;
};

} // namespace setzaiko::xlsx
