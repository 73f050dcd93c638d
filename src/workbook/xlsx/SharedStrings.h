#pragma once

#include "common/BlockList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <future>
#include <memory>
#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// The shared string table of a workbook: every <si> item's text, in order. An item that
// repeats one of the last few thousand texts shares its QString, and the items are kept in
// blocks: a block lists the texts its items use, and each item is its text's place in that
// list, in as few bits as the list needs. So a part of millions of repeated tiny items (a few
// bytes each once deflated, which takes a repeat within deflate's 32 KB window) costs a few
// bits an item, not a QString each, and growing never holds the items twice. A writer lists
// each text once, so a table of millions of texts is not searched whole for every item.
class SharedStrings
{
public:
    std::size_t size() const { return m_size; }
    const QString& operator[](std::size_t item) const { return m_texts[textIndexOf(item)]; }

    // Where an item's text lies, and whether it is plain: not empty, and not ending in a
    // space a field is trimmed of. Neither reads the text, which a sheet's cells, referring to
    // items at random, would have to wait for.
    struct Kept
    {
        const QString* text;
        bool plain;
    };
    Kept keptAt(std::size_t item) const
    {
        const std::uint32_t index = textIndexOf(item);
        return {&m_texts[index], m_plain[index] != 0};
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

    // A full block's items: the texts they use, and each item's place among them in `width`
    // bits (a power of two, 0 where all items share one text), so no item spans two words. A
    // block of texts each new in its turn, as a writer that lists each text once stores them
    // all, is only its first text: an item is found without reading memory that a sheet's
    // cells, referring to items at random, would have to wait for.
    struct Block
    {
        static constexpr std::uint8_t consecutive = 0xFF;

        std::vector<std::uint32_t> texts;
        std::vector<std::uint64_t> places;
        std::uint32_t firstText = 0;
        std::uint8_t width = 0;

        std::uint32_t textOf(std::size_t inBlock) const
        {
            if (width == consecutive) {
                return firstText + static_cast<std::uint32_t>(inBlock);
            }
            if (width == 0) {
                return texts[0];
            }
            const std::size_t bit = inBlock * width;
            const std::uint64_t place = places[bit / 64] >> (bit % 64) & ((1ULL << width) - 1);
            return texts[static_cast<std::size_t>(place)];
        }
    };
    void packCurrent();
    std::uint32_t textIndexOf(std::size_t item) const
    {
        const std::size_t block = item / blockSize;
        const std::size_t inBlock = item % blockSize;
        if (block == m_blocks.size()) {
            return m_current[inBlock];
        }
        return m_blocks[block].textOf(inBlock);
    }

    std::vector<Block> m_blocks;
    std::vector<std::uint32_t> m_current; // the block being filled: each item's text index
    std::uint32_t m_lastText = 0;         // the last item's text index, while appending
    std::size_t m_size = 0;
    // The texts made lately, by their hash, while appending: each slot holds a text's index
    // plus one (0: free) and its hash. A text looks in a few slots from the one its hash
    // names and takes the first free one, or that one's place.
    struct RecentSlot
    {
        std::uint32_t textPlusOne = 0;
        std::uint32_t hash = 0;
    };
    static constexpr std::size_t recentSlots = 8192; // a power of two
    static constexpr std::size_t recentProbes = 8;
    std::uint32_t indexOfText(const QString& text);

    // The distinct texts: a text never moves once added, so cells may point to it.
    BlockList<QString, 16384> m_texts;
    std::vector<std::uint8_t> m_plain; // of each text, 1 where it is plain
    std::vector<RecentSlot> m_recent;
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
