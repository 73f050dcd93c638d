#pragma once

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace setzaiko {

namespace detail {
// A number no table has started from before: each table takes one when it is made and each
// time it is emptied. Safe to call from any thread.
std::uint32_t nextTableEpoch();
} // namespace detail

// An ordered table of rows numbered from 0 in the order they were appended. Only the import
// writes a table (empty, append); every other part only reads it. Different tables may be
// written on different threads; one table is written by one thread at a time.
//
// The rows are kept in blocks of a fixed size: a growing table never moves the rows it
// already holds, and never needs room for two copies of itself while it grows.
template <typename Row>
class MasterTable
{
public:
    void empty()
    {
        m_blocks.clear();
        m_count = 0;
        m_epoch = detail::nextTableEpoch();
    }
    void append(Row row)
    {
        if (m_count % blockRows == 0) {
            m_blocks.emplace_back().reserve(blockRows);
        }
        m_blocks.back().push_back(std::move(row));
        ++m_count;
    }
    std::int32_t count() const { return m_count; }
    const Row& row(std::int32_t i) const
    {
        Q_ASSERT(i >= 0 && i < count());
        const auto index = static_cast<std::size_t>(i);
        return m_blocks[index / blockRows][index % blockRows];
    }

    // Changes with every change of the rows: what a lookup built on the table remembers. Rows
    // are only ever appended until the table is emptied, which starts a new epoch, so the epoch
    // and the count together never repeat, for this table or any other.
    std::uint64_t version() const
    {
        return (std::uint64_t{m_epoch} << 32) | static_cast<std::uint32_t>(m_count);
    }

private:
    static constexpr std::size_t blockRows = 1024;

    std::vector<std::vector<Row>> m_blocks;
    std::int32_t m_count = 0;
    std::uint32_t m_epoch = detail::nextTableEpoch();
};

} // namespace setzaiko
