#pragma once

#include <optional>
#include <string_view>

namespace setzaiko::xlsx {

// The largest worksheet: rows and columns counted from 1.
constexpr int maxRows = 1'048'576;
constexpr int maxColumns = 16'384;

struct CellPosition
{
    int row = 0;    // from 1
    int column = 0; // from 1
};

// "B12" as row 12, column 2; nullopt for anything else or a cell beyond the sheet's limits.
std::optional<CellPosition> parseCellReference(std::string_view reference);

// A row number ("12") within the sheet's limits, or nullopt.
std::optional<int> parseRowNumber(std::string_view text);

} // namespace setzaiko::xlsx
