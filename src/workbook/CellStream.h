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
    // False where the reader hands out the cells as it reads them, before it knows the used
    // part: see CellStream::layoutSoFar.
    bool known = true;
};

// When a sheet's rows are handed out.
enum class RowRelease {
    // Once the whole sheet is read: damage anywhere in it fails the first row.
    WholeSheet,
    // As the sheet is read, where its reader can: a later row may fail, and the rows handed
    // out may be taken back (WorkbookTable::restarted).
    AsRead,
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

    // Of a stream whose start gave no known layout: the layout of the part read so far, which
    // only grows; once next has returned false, the sheet's own.
    virtual SheetLayout layoutSoFar() const { return {}; }
    // Of such a stream: how often it has taken back every cell it handed out, to hand the
    // sheet out again from its start, in order; a cell counts as taken back once next has
    // returned after it with the count raised.
    virtual int restarts() const { return 0; }
};

} // namespace setzaiko
