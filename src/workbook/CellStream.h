#pragma once

#include "workbook/CellValue.h"

#include <memory>

namespace setzaiko {

// One stored cell of a sheet; row and column count from 0.
struct StreamedCell
{
    int row = 0;
    int column = 0;
    CellValue value;
};

// What a reader knows of a sheet before it hands out the sheet's cells.
struct SheetLayout
{
    int rows = 0;    // the used part: rows 0..rows-1,
    int columns = 0; // columns 0..columns-1, from every cell the sheet stores
    // No cell comes after a cell of a later row.
    bool rowsInOrder = true;
};

// The stored cells of one sheet, as its reader hands them out; RowAssembler makes the rows.
// A reader may leave out the cells of columns it was told are not wanted.
class CellStream
{
public:
    virtual ~CellStream() = default;

    // Called once, before next, on the thread that reads the cells. Throws WorkbookError.
    virtual SheetLayout start() = 0;
    // The next stored cell, in the order the sheet stores them: where a position comes twice,
    // the later cell wins, an empty one too. False after the last. Throws WorkbookError.
    virtual bool next(StreamedCell& cell) = 0;
    // What keeps the texts the cells point to, or nullptr; callable before start.
    virtual std::shared_ptr<const void> textHolder() const { return nullptr; }
};

} // namespace setzaiko
