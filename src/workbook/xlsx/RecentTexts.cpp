#include "workbook/xlsx/RecentTexts.h"

namespace setzaiko::xlsx {

QString RecentTexts::textOf(const SheetValue& value)
{
    if (value.column >= m_columns.size()) {
        m_columns.resize(std::size_t{value.column} + 1);
    }
    Column& column = m_columns[value.column];
    for (std::size_t i = 0; i < column.used; ++i) {
        const Entry& entry = column.entries[i];
        if (entry.kind == value.kind && entry.bytes == value.text) {
            return entry.text;
        }
    }
    Entry& entry = column.entries[column.next];
    column.next = (column.next + 1) % kept;
    column.used = std::max(column.used, column.next == 0 ? kept : column.next);
    entry.bytes.assign(value.text);
    entry.kind = value.kind;
    entry.text = value.ownText();
    return entry.text;
}

} // namespace setzaiko::xlsx
