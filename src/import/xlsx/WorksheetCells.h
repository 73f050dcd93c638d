#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// One value of a worksheet, packed so that a sheet of a million rows stays small in memory.
struct SheetValue
{
    enum class Kind : std::uint8_t { Number, SharedText, OwnText };

    std::uint32_t row = 0;    // from 0
    std::uint16_t column = 0; // from 0
    Kind kind = Kind::Number;
    union {
        double number;
        std::uint32_t text; // an index into the shared strings or the sheet's own texts
    };

    SheetValue() : number(0.0) {}
};

// The cells of one worksheet: their values in the requested columns, and the used part
// computed from every cell the sheet stores (formatted empty cells included), whatever the
// sheet's <dimension> claims.
struct WorksheetCells
{
    int rows = 0;
    int columns = 0;
    // No value stands before a value of an earlier row: the values can be handed out as read.
    bool rowsInOrder = true;
    std::vector<SheetValue> values;
    std::vector<QString> texts;
};

// Reads one worksheet part, keeping the values of columns 0..columnCount-1 in file order.
// Cells and rows without a reference follow the one before them. A cell beyond the sheet's
// limits or a value that does not fit its type is damage. Throws WorkbookError.
WorksheetCells readWorksheet(ZipArchive& archive, const ZipEntry& entry, bool dates1904,
                             int columnCount);

// Refuses a worksheet with a value referring to a shared string beyond the table's count
// (the table may still be being read while the worksheet is). Throws WorkbookError.
void checkSharedStringIndices(const WorksheetCells& cells, std::size_t sharedStringCount);

} // namespace setzaiko::xlsx
