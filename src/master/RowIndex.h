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
        m_slots.assign(64, Slot{});
        m_mask = m_slots.size() - 1;
        m_next.assign(static_cast<std::size_t>(rows), -1);
        std::size_t codes = 0;
        std::size_t previous = 0; // the slot of the row before
        for (std::int32_t row = 0; row < rows; ++row) {
            const QStringView key = keyOf(row);
            // The rows of one code mostly follow each other: those need no hashing.
            if (row > 0 && key == keyOf(row - 1)) {
                m_next[static_cast<std::size_t>(row - 1)] = row;
                m_slots[previous].last = row;
                continue;
            }
            if (2 * (codes + 1) > m_slots.size()) {
                grow();
            }
            previous = slotOf(key, keyOf);
            Slot& slot = m_slots[previous];
            if (slot.first < 0) {
                slot = {hashOf(key), row, row};
                ++codes;
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

    // Twice the slots, each code moved to its place among them.
    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        m_mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.first >= 0) {
                std::size_t i = slot.hash & m_mask;
                while (m_slots[i].first >= 0) {
                    i = (i + 1) & m_mask;
                }
                m_slots[i] = slot;
            }
        }
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
