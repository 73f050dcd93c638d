#pragma once

#include "common/HugePages.h"
#include "common/Prefetch.h"

#include <QHashFunctions>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace setzaiko {

// The rows of a table found by a code: the first row of each code and, from each row, the
// next row of the same code, in table order. The codes are not copied: keyOf(row) gives a
// row's code whenever it is needed. Built in two passes: one reads each code once, counting
// the runs of rows of one code to size the slots and keeping each run's hash; the other fills
// the slots from the hashes alone. No allocation per code, so that a table of a million rows is
// indexed in a fraction of a second.
class RowIndex
{
public:
    RowIndex() = default;

    // keyOf(row) gives a row's code; placeOf(row), where the code lies, without reading it.
    template <typename KeyOf, typename PlaceOf>
    RowIndex(std::int32_t rows, KeyOf keyOf, PlaceOf placeOf)
    {
        const auto count = static_cast<std::size_t>(rows);
        // Each row's code is read once, in a pass that tells which rows have the code of the row
        // before and keeps the hash of the others. Codes lie wherever the workbook put them, so
        // each would wait for memory: a code is asked for well ahead, its characters a little
        // ahead, once it has come.
        std::vector<std::uint64_t> sameAsAbove((count + 63) / 64);
        const auto isSameAsAbove = [&](std::int32_t row) {
            return (sameAsAbove[static_cast<std::size_t>(row) / 64] >> (row % 64)) & 1;
        };
        std::vector<std::uint32_t> hashes(count);
        constexpr std::int32_t placeAhead = 16;
        constexpr std::int32_t keyAhead = 8;
        std::size_t runs = 0;
        QStringView above;
        for (std::int32_t row = 0; row < rows; ++row) {
            if (row + placeAhead < rows) {
                prefetch(placeOf(row + placeAhead));
            }
            if (row + keyAhead < rows) {
                const QStringView later = keyOf(row + keyAhead);
                if (!later.isEmpty()) {
                    prefetch(later.data());
                }
            }
            const QStringView key = keyOf(row);
            if (row > 0 && key == above) {
                sameAsAbove[static_cast<std::size_t>(row) / 64] |= std::uint64_t{1} << (row % 64);
            } else {
                ++runs;
                hashes[static_cast<std::size_t>(row)] = hashOf(key);
            }
            above = key;
        }
        // Room for every run of rows of one code, at most half full: no code is moved as the
        // slots fill, whatever the codes.
        std::size_t size = 64;
        while (size < 2 * runs) {
            size *= 2;
        }
        m_slots.reserve(size);
        adviseHugePages(m_slots.data(), size * sizeof(Slot));
        m_slots.assign(size, Slot{});
        m_mask = m_slots.size() - 1;
        m_next.reserve(count);
        adviseHugePages(m_next.data(), m_next.capacity() * sizeof(std::int32_t));
        m_next.assign(count, -1);
        // Each code's slot is asked for a few rows ahead: the slots are taken at random. The
        // rows of one code mostly follow each other: those need no slot of their own.
        constexpr std::int32_t slotAhead = 8;
        for (std::int32_t row = 0; row < std::min(slotAhead, rows); ++row) {
            prefetch(&m_slots[hashes[static_cast<std::size_t>(row)] & m_mask]);
        }
        std::size_t previous = 0; // the slot of the row before
        for (std::int32_t row = 0; row < rows; ++row) {
            if (row + slotAhead < rows && !isSameAsAbove(row + slotAhead)) {
                prefetch(&m_slots[hashes[static_cast<std::size_t>(row + slotAhead)] & m_mask]);
            }
            if (isSameAsAbove(row)) {
                m_next[static_cast<std::size_t>(row - 1)] = row;
                m_slots[previous].last = row;
                continue;
            }
            const std::uint32_t hash = hashes[static_cast<std::size_t>(row)];
            previous = slotOfRow(row, hash, keyOf);
            Slot& slot = m_slots[previous];
            if (slot.first < 0) {
                slot = {hash, row, row};
            } else {
                m_next[static_cast<std::size_t>(slot.last)] = row;
                slot.last = row;
            }
        }
    }

    // The first row of the code, or -1.
    template <typename KeyOf>
    std::int32_t first(QStringView key, KeyOf keyOf) const
    {
        return m_slots.empty() ? -1 : m_slots[slotOf(key, keyOf)].first;
    }

    // The next row of the same code after row, or -1.
    std::int32_t next(std::int32_t row) const { return m_next[static_cast<std::size_t>(row)]; }

private:
    struct Slot
    {
        std::uint32_t hash = 0;
        std::int32_t first = -1;
        std::int32_t last = -1;
    };

    std::uint32_t hashOf(QStringView key) const
    {
        // Seeded per process, so that no workbook can be made to collide on purpose.
        return static_cast<std::uint32_t>(qHash(key, m_seed));
    }

    // The slot of the code: its own, or the empty one where it would go.
    template <typename KeyOf>
    std::size_t slotOf(QStringView key, KeyOf keyOf) const
    {
        return slotWhere(hashOf(key), [&](std::int32_t row) { return keyOf(row) == key; });
    }
    // The same for a row's code while the rows are indexed, read only where a slot's hash is
    // its own.
    template <typename KeyOf>
    std::size_t slotOfRow(std::int32_t row, std::uint32_t hash, KeyOf keyOf) const
    {
        return slotWhere(hash, [&](std::int32_t other) { return keyOf(other) == keyOf(row); });
    }
    // The first slot from the hash's own that is empty or whose first row has the code.
    template <typename HasCode>
    std::size_t slotWhere(std::uint32_t hash, HasCode hasCode) const
    {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.first < 0 || (slot.hash == hash && hasCode(slot.first))) {
                return i;
            }
        }
    }

    std::size_t m_seed = QHashSeed::globalSeed();
    std::size_t m_mask = 0;
    std::vector<Slot> m_slots;
    std::vector<std::int32_t> m_next;
};

} // namespace setzaiko
