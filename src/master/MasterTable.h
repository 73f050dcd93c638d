#pragma once

#include "master/RowIndex.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>
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
//
// Key is the code column the table is searched by: codeIndex finds its rows.
template <typename Row, QString Row::*Key>
class MasterTable
{
public:
    void empty()
    {
        m_index.reset();
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

    // The rows by their code, for the rows as they stand: built at the first call after they
    // changed, on the calling thread. The import builds it at the end of each sheet, on the
    // thread that read the sheet; a reader of the tables then finds it ready.
    const RowIndex& codeIndex() const
    {
        if (!m_index || m_indexVersion != version()) {
            m_index.reset(); // the old index goes before the new one is built
            m_index = std::make_shared<const RowIndex>(
                count(), [this](std::int32_t i) { return QStringView(row(i).*Key); });
            m_indexVersion = version();
        }
        return *m_index;
    }
    // The first row of the code, or -1.
    std::int32_t firstRowOf(QStringView code) const
    {
        return codeIndex().first(code, [this](std::int32_t i) { return QStringView(row(i).*Key); });
    }

private:
    static constexpr std::size_t blockRows = 1024;

    std::vector<std::vector<Row>> m_blocks;
    std::int32_t m_count = 0;
    std::uint32_t m_epoch = detail::nextTableEpoch();
    // Shared by copies of the table, which hold the same rows until either changes.
    mutable std::shared_ptr<const RowIndex> m_index;
    mutable std::uint64_t m_indexVersion = 0;
};

} // namespace setzaiko
