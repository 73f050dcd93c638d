#pragma once

#include "common/BlockList.h"
#include "master/RowIndex.h"
#include "master/TableText.h"

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
// A row's texts point into the table's texts (see TableText): a row is appended either as
// one with texts of its own (NewRow), which the table takes, or as one whose texts the table
// holds already (texts().own, or a holder of workbook texts given to texts().keep).
//
// Key is the code column the table is searched by: codeIndex finds its rows.
template <typename Row, typename NewRow, TableText Row::*Key>
class MasterTable
{
public:
    void empty()
    {
        m_index.reset();
        m_rows.clear();
        m_texts.reset(); // after the rows that point into them
    }
    void append(NewRow row) { append(Row::from(std::move(row), texts())); }
    // The texts that rows appended next may point into.
    TableTexts& texts()
    {
        if (!m_texts) {
            m_texts = std::make_shared<TableTexts>();
        }
        return *m_texts;
    }
    void append(Row row)
    {
        m_index.reset(); // an index never stands for fewer rows than the table holds
        m_rows.push_back(std::move(row));
    }
    std::int32_t count() const { return static_cast<std::int32_t>(m_rows.size()); }
    const Row& row(std::int32_t i) const
    {
        Q_ASSERT(i >= 0 && i < count());
        return m_rows[static_cast<std::size_t>(i)];
    }

    // Indexes the rows by their code, once the table is filled: the import does it at the end
    // of each sheet, on the thread that read the sheet, and a book for whatever tables are
    // left unindexed.
    void buildCodeIndex()
    {
        m_index.reset(); // the old index goes before the new one is built
        m_index = std::make_shared<const RowIndex>(
            count(), [this](std::int32_t i) { return (row(i).*Key).view(); },
            [this](std::int32_t i) { return &(row(i).*Key).text(); });
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
        return codeIndex().first(code, [this](std::int32_t i) { return (row(i).*Key).view(); });
    }

private:
    BlockList<Row, 1024> m_rows;
    // Shared by copies of the table, which hold the same rows until either changes.
    std::shared_ptr<const RowIndex> m_index;
    // Shared by copies of the table, whose rows point into them; a copy that appends adds to
    // them, which moves no text the other copies point to.
    std::shared_ptr<TableTexts> m_texts;
};

} // namespace setzaiko
