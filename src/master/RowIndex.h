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
// row's code whenever it is needed. Built in two passes, one counting the runs of rows of one
// code to size the slots, with no allocation per code, so that a table of a million rows is
// indexed in a fraction of a second.
class RowIndex
{
public:
    RowIndex() = default;

    template <typename KeyOf>
    RowIndex(std::int32_t rows, KeyOf keyOf)
    {
        // Which rows have the code of the row before: counted here, and kept for the pass below.
        std::vector<std::uint64_t> sameAsAbove((static_cast<std::size_t>(rows) + 63) / 64);
        const auto isSameAsAbove = [&](std::int32_t row) {
            return (sameAsAbove[static_cast<std::size_t>(row) / 64] >> (row % 64)) & 1;
        };
        std::size_t runs = rows > 0 ? 1 : 0;
        for (std::int32_t row = 1; row < rows; ++row) {
            if (keyOf(row) == keyOf(row - 1)) {
                sameAsAbove[static_cast<std::size_t>(row) / 64] |= std::uint64_t{1} << (row % 64);
            } else {
                ++runs;
            }
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
        m_next.reserve(static_cast<std::size_t>(rows));
        adviseHugePages(m_next.data(), m_next.capacity() * sizeof(std::int32_t));
        m_next.assign(static_cast<std::size_t>(rows), -1);
        // The rows are looked at a few rows ahead, so that each code's slot is asked for before
        // it is needed: codes are spread over the slots at random, and each would otherwise
        // wait for memory. The rows of one code mostly follow each other: those need no hash.
        constexpr std::int32_t ahead = 8;
        constexpr std::uint64_t sameAsBefore = std::uint64_t{1} << 32;
        std::array<std::uint64_t, ahead> seen{};
        const auto lookAhead = [&](std::int32_t row) {
            std::uint64_t& entry = seen[static_cast<std::size_t>(row % ahead)];
            if (isSameAsAbove(row)) {
                entry = sameAsBefore;
                return;
            }
            const std::uint32_t hash = hashOf(keyOf(row));
            entry = hash;
            prefetch(&m_slots[hash & m_mask]);
        };
        for (std::int32_t row = 0; row < std::min(ahead, rows); ++row) {
            lookAhead(row);
        }
        std::size_t previous = 0; // the slot of the row before
        for (std::int32_t row = 0; row < rows; ++row) {
            const std::uint64_t entry = seen[static_cast<std::size_t>(row % ahead)];
            if (row + ahead < rows) {
                lookAhead(row + ahead);
            }
            if (entry == sameAsBefore) {
                m_next[static_cast<std::size_t>(row - 1)] = row;
                m_slots[previous].last = row;
                continue;
            }
            const auto hash = static_cast<std::uint32_t>(entry);
            previous = slotOf(keyOf(row), hash, keyOf);
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
        return slotOf(key, hashOf(key), keyOf);
    }
    template <typename KeyOf>
    std::size_t slotOf(QStringView key, std::uint32_t hash, KeyOf keyOf) const
    {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.first < 0 || (slot.hash == hash && keyOf(slot.first) == key)) {
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
