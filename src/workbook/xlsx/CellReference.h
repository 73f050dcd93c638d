#pragma once

#include <optional>

namespace setzaiko::xlsx {

// The largest worksheet: rows and columns counted from 1.
constexpr int maxRows = 1'048'576;
constexpr int maxColumns = 16'384;

struct CellPosition
{
    int row = 0;    // from 1
    int column = 0; // from 1
};

// Both read an attribute's value, which ends at its NUL, in one pass: they run for every row
// and cell of a sheet.

// A row number ("12") within the sheet's limits, or nullopt.
inline std::optional<int> parseRowNumber(const char* text)
{
    int row = 0;
    int digits = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (++digits > 7) {
            return std::nullopt;
        }
        row = row * 10 + (*text - '0');
    }
    if (*text != '\0' || row < 1 || row > maxRows) {
        return std::nullopt;
    }
    return row;
}

// "B12" as row 12, column 2; nullopt for anything else or a cell beyond the sheet's limits.
inline std::optional<CellPosition> parseCellReference(const char* reference)
{
    int letters = 0;
    int column = 0;
    for (; letters < 4 && *reference >= 'A' && *reference <= 'Z'; ++reference, ++letters) {
        column = column * 26 + (*reference - 'A' + 1);
    }
    if (letters == 0 || column > maxColumns) {
        return std::nullopt;
    }
    const auto row = parseRowNumber(reference);
    if (!row) {
        return std::nullopt;
    }
    return CellPosition{*row, column};
}

} // namespace setzaiko::xlsx
