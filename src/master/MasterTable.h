#pragma once

#include "master/RowIndex.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <vector>

namespace setzaiko {

// An ordered table of rows numbered from 0 in the order they were appended. A table is filled
// by one import run (empty, append, buildCodeIndex) and then only read, as part of the book the
// run hands over; different tables may be filled on different threads.
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
    }
    void append(Row row)
    {
        m_index.reset(); // an index never stands for fewer rows than the table holds
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

    // Indexes the rows by their code, once the table is filled: the import does it at the end
    // of each sheet, on the thread that read the sheet, and a book for whatever tables are
    // left unindexed.
    void buildCodeIndex()
    {
        m_index.reset(); // the old index goes before the new one is built
        m_index = std::make_shared<const RowIndex>(
            count(), [this](std::int32_t i) { return QStringView(row(i).*Key); });
    }
    bool hasCodeIndex() const { return m_index != nullptr; }
    // The rows by their code; a table not indexed since its last change finds none.
    const RowIndex& codeIndex() const
    {
        static const RowIndex none;
        return m_index ? *m_index : none;
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
    // Shared by copies of the table, which hold the same rows until either changes.
    std::shared_ptr<const RowIndex> m_index;
};

} // namespace setzaiko
