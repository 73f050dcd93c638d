#pragma once

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace setzaiko {

// An ordered table of rows numbered from 0 in the order they were appended. Only the import
// writes a table (empty, append); every other part only reads it.
template <typename Row>
class MasterTable
{
public:
    void empty() { m_rows.clear(); }
    void append(Row row) { m_rows.push_back(std::move(row)); }
    std::int32_t count() const { return static_cast<std::int32_t>(m_rows.size()); }
    const Row& row(std::int32_t i) const
    {
        Q_ASSERT(i >= 0 && i < count());
        return m_rows[static_cast<std::size_t>(i)];
    }

private:
    std::vector<Row> m_rows;
};

} // namespace setzaiko
