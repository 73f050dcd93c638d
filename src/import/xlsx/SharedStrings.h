#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <future>
#include <memory>
#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// The shared string table of a workbook: every <si> item's text, in order. Each distinct text
// is kept once and an item is the index of its text, so that a part of millions of repeated
// tiny items (a few bytes each once deflated) costs at most four bytes an item, not a QString
// each. The indices are kept in blocks, so that growing never holds them twice, and a block
// whose items all share one text keeps that text's index alone.
class SharedStrings
{
public:
    std::size_t size() const { return m_size; }
    const QString& operator[](std::size_t item) const
    {
        const std::vector<std::uint32_t>& block = m_blocks[item / blockSize];
        return m_texts[block.size() == 1 ? block[0] : block[item % blockSize]];
    }
    // Throws std::out_of_range beyond the last item.
    const QString& at(std::size_t item) const;
    QStringList toList() const;

    // While the part is read: the next item.
    void append(const QString& text);
    // After the last item: drops what appending needed.
    void finish();

    friend bool operator==(const SharedStrings& a, const SharedStrings& b)
    {
        return a.toList() == b.toList();
    }

private:
    static constexpr std::size_t blockSize = 65536;
    std::vector<std::vector<std::uint32_t>> m_blocks;
    std::size_t m_size = 0;
    std::vector<QString> m_texts;
    QHash<QString, std::uint32_t> m_indexOfText; // while appending
};

// Reads the table. Throws WorkbookError.
SharedStrings readSharedStrings(ZipArchive& archive, const ZipEntry& entry);

using SharedStringTable = std::shared_ptr<const SharedStrings>;
using PendingSharedStrings = std::shared_future<SharedStringTable>;

// The shared string table read on a thread of its own, through an archive of its own over the
// file's bytes, while the worksheets are read; get() waits for it and throws what reading it
// threw. Read when first asked for where no thread is to be had.
PendingSharedStrings readSharedStringsAhead(const QByteArray& bytes, const ZipEntry& entry);

// A table that is there already (none, or read in place).
PendingSharedStrings sharedStringsReady(SharedStrings strings);

} // namespace setzaiko::xlsx
