#pragma once

#include "workbook/xlsx/WorksheetCells.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace setzaiko::xlsx {

// The texts of a worksheet's columns as QStrings. Texts repeat down a column (a set's code and
// name on each of its component rows, a handful of categories or units), so the last few texts
// of each column are kept, and a repeat shares the QString made for the first instead of
// taking memory and time of its own, as a shared string does.
class RecentTexts
{
public:
    // The text of a Text or EscapedText value.
    QString textOf(const SheetValue& value);

private:
    struct Entry
    {
        std::string bytes;
        SheetValue::Kind kind = SheetValue::Kind::Text;
        QString text;
    };
    static constexpr std::size_t kept = 4;
    struct Column
    {
        std::array<Entry, kept> entries;
        std::size_t used = 0;
        std::size_t next = 0; // the entry a new text replaces
    };
    std::vector<Column> m_columns;
};

} // namespace setzaiko::xlsx
