#pragma once

#include "workbook/xls/XlsWorkbook.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace setzaiko::testing {

struct SnapshotCell
{
    int row = 0;
    int column = 0;
    xls::XlsCell cell;

    friend bool operator==(const SnapshotCell& a, const SnapshotCell& b)
    {
        return a.row == b.row && a.column == b.column && a.cell.formula == b.cell.formula &&
               a.cell.value == b.cell.value;
    }
};

struct SheetSnapshot
{
    QString name;
    xls::UsedRange range;
    std::vector<SnapshotCell> cells;          // in file order
    std::vector<std::vector<CellValue>> rows; // as the sheet's rows are assembled

    friend bool operator==(const SheetSnapshot& a, const SheetSnapshot& b)
    {
        return a.name == b.name && a.range.rows == b.range.rows &&
               a.range.columns == b.range.columns && a.cells == b.cells && a.rows == b.rows;
    }
};

// Everything the reader tells about a workbook, through both of its interfaces.
struct WorkbookSnapshot
{
    QStringList sheetNames;
    std::vector<SheetSnapshot> sheets;

    friend bool operator==(const WorkbookSnapshot&, const WorkbookSnapshot&) = default;
};

// Reads every cell of every worksheet and every row of it (as wide as the used part). Throws
// WorkbookError.
WorkbookSnapshot readSnapshot(xls::XlsWorkbook& workbook);
WorkbookSnapshot readSnapshot(const QByteArray& file);

// Runs work on another thread; if it has not finished after the given time the whole test
// program stops with a message naming what hung, since a hung reader cannot be cancelled.
void finishWithin(int seconds, const QString& what, const std::function<void()>& work);

// Peak resident memory of this process so far, in megabytes (0 where unknown).
long peakMemoryMegabytes();

} // namespace setzaiko::testing
