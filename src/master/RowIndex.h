#pragma once

#include <QHashFunctions>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace setzaiko {

// The rows of a table found by a code: the first row of each code and, from each row, the
// next row of the same code, in table order. The codes are not copied: keyOf(row) gives a
// row's code whenever it is needed. Built in one pass, with no allocation per code, so that
// a table of a million rows is indexed in a fraction of a second.
class RowIndex
{
public:
    RowIndex() = default;

    template <typename KeyOf>
    RowIndex(std::int32_t rows, KeyOf keyOf)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * static_cast<std::size_t>(rows)) {
            capacity *= 2;
        }
        m_mask = capacity - 1;
        m_slots.assign(capacity, Slot{});
        m_next.assign(static_cast<std::size_t>(rows), -1);
        for (std::int32_t row = 0; row < rows; ++row) {
            const QStringView key = keyOf(row);
            Slot& slot = m_slots[slotOf(key, keyOf)];
            if (slot.first < 0) {
                slot = {hashOf(key), row, row};
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
        const std::uint32_t hash = hashOf(key);
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
