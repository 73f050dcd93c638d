#pragma once

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace setzaiko {

namespace detail {
// A number no earlier change of any table has had, so that a remembered (table, version) pair
// can never be taken for the contents of another table or another time.
std::uint64_t nextTableVersion();
} // namespace detail

// An ordered table of rows numbered from 0 in the order they were appended. Only the import
// writes a table (empty, append); every other part only reads it.
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
        m_version = detail::nextTableVersion();
    }
    void append(Row row)
    {
        if (m_count % blockRows == 0) {
            m_blocks.emplace_back().reserve(blockRows);
        }
        m_blocks.back().push_back(std::move(row));
        ++m_count;
        m_version = detail::nextTableVersion();
    }
    std::int32_t count() const { return m_count; }
    const Row& row(std::int32_t i) const
    {
        Q_ASSERT(i >= 0 && i < count());
        const auto index = static_cast<std::size_t>(i);
        return m_blocks[index / blockRows][index % blockRows];
    }

    // Changes with every change of the rows: what a lookup built on the table remembers.
    std::uint64_t version() const { return m_version; }

private:
    static constexpr std::size_t blockRows = 1024;

    std::vector<std::vector<Row>> m_blocks;
    std::int32_t m_count = 0;
    std::uint64_t m_version = detail::nextTableVersion();
};

} // namespace setzaiko
