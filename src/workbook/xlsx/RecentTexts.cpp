#include "workbook/xlsx/RecentTexts.h"

#include <cstring>

namespace setzaiko::xlsx {

namespace {

// Texts down a column mostly differ at their end, if anywhere (numbered names): the last byte
// is looked at before the rest.
bool sameBytes(const std::string& kept, std::string_view text)
{
    return kept.size() == text.size() &&
           (text.empty() || (kept.back() == text.back() &&
                             std::memcmp(kept.data(), text.data(), text.size()) == 0));
}

} // namespace

QString RecentTexts::textOf(const SheetValue& value)
{
    if (value.column >= m_columns.size()) {
        m_columns.resize(std::size_t{value.column} + 1);
    }
    Column& column = m_columns[value.column];
    for (std::size_t i = 0; i < column.used; ++i) {
        const Entry& entry = column.entries[i];
        if (entry.kind == value.kind && sameBytes(entry.bytes, value.text)) {
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
