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
template <typename Row>
class MasterTable
{
public:
    void empty()
    {
        m_rows.clear();
        m_version = detail::nextTableVersion();
    }
    void append(Row row)
    {
        m_rows.push_back(std::move(row));
        m_version = detail::nextTableVersion();
    }
    std::int32_t count() const { return static_cast<std::int32_t>(m_rows.size()); }
    const Row& row(std::int32_t i) const
    {
        Q_ASSERT(i >= 0 && i < count());
        return m_rows[static_cast<std::size_t>(i)];
    }

    // Changes with every change of the rows: what a lookup built on the table remembers.
    std::uint64_t version() const { return m_version; }

private:
    std::vector<Row> m_rows;
    std::uint64_t m_version = detail::nextTableVersion();
};

} // namespace setzaiko
