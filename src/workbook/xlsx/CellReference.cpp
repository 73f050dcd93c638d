#include "workbook/xlsx/CellReference.h"

namespace setzaiko::xlsx {

std::optional<int> parseRowNumber(std::string_view text)
{
    if (text.empty() || text.size() > 7) {
        return std::nullopt;
    }
    int row = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        row = row * 10 + (c - '0');
    }
    if (row < 1 || row > maxRows) {
        return std::nullopt;
    }
    return row;
}

std::optional<CellPosition> parseCellReference(std::string_view reference)
{
    std::size_t letters = 0;
    int column = 0;
    while (letters < reference.size() && letters < 4) {
        const char c = reference[letters];
        if (c < 'A' || c > 'Z') {
            break;
        }
        column = column * 26 + (c - 'A' + 1);
        ++letters;
    }
    if (letters == 0 || column > maxColumns) {
        return std::nullopt;
    }
    const auto row = parseRowNumber(reference.substr(letters));
    if (!row) {
        return std::nullopt;
    }
    return CellPosition{*row, column};
}

} // namespace setzaiko::xlsx
