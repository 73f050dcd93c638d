#pragma once

#include "workbook/CellStream.h"
#include "workbook/CellValue.h"
#include "workbook/WorkbookFailure.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace setzaiko {

// Any failure to read a workbook: it cannot be opened, is no workbook this program reads, is
// damaged or encrypted, or a requested column lies beyond a sheet's used part. what() is the
// technical detail; kind() says which of the closed set of causes it is.
class WorkbookError : public std::runtime_error
{
public:
    explicit WorkbookError(const std::string& what) : WorkbookError(WorkbookFailure::Damaged, what)
    {}
    WorkbookError(WorkbookFailure kind, const std::string& what)
        : std::runtime_error(what), m_kind(kind)
    {}

    WorkbookFailure kind() const { return m_kind; }
    // The kind's sentence, then the technical detail on a line of its own.
    QString cause() const;

private:
    WorkbookFailure m_kind;
};

// The rows of one sheet, in sheet order from row 1.
class WorkbookTable
{
public:
    virtual ~WorkbookTable() = default;

    // Reads the next row: cells receives the values of the requested columns, from column A,
    // by position. Returns false after the last row. Throws WorkbookError.
    virtual bool nextRow(std::vector<CellValue>& cells) = 0;
    // What keeps the texts the cells point to (CellValue::kept) for as long as it is held, or
    // nullptr where the cells hold their own texts; callable before the first row.
    virtual std::shared_ptr<const void> textHolder() const = 0;
    // Whether the rows go out while the sheet is still being read (known from the first call of
    // nextRow on): a failure of nextRow then takes back every row handed out before it, as the
    // failure found before the first row would have left none.
    virtual bool releasesRowsAsRead() const { return false; }
    // Of such a table: whether every row handed out before the last call of nextRow is taken
    // back, the sheet starting over with the row that call handed out, if any.
    virtual bool restarted() const { return false; }
};

// An open workbook. Closing is destruction.
//
// What the import requires of every reader:
// - Sheet names are unique without regard to case; a workbook in which two sheets share a
//   name, or two sheet entries share their data, is damaged and refused with WorkbookError
//   when it is opened. The readers check this; nothing above them does again.
// - A sheet may be opened while another sheet of the same workbook is being read on another
//   thread, and may be read on a thread other than the one that opened it. Two sheets of one
//   workbook never share mutable state unguarded: each reads through its own view of the file.
//   The workbook itself outlives its sheets and is not used by two threads at once otherwise.
// - Damage is never a shorter table: a sheet whose data do not end exactly where its part of
//   the file ends fails with WorkbookError instead of streaming fewer cells.
// - Memory stays bounded by the file: no declared size is trusted for an allocation.
class Workbook
{
public:
    virtual ~Workbook() = default;

    // Every worksheet's name, in workbook order.
    virtual QStringList sheetNames() const = 0;

    // The stored cells of one worksheet, found by its exact name; columns from columnCount on
    // are not wanted. Throws WorkbookError.
    virtual std::unique_ptr<CellStream> openCells(const QString& name, int columnCount) = 0;
    // The same, handing the cells out as they are read where the reader can.
    virtual std::unique_ptr<CellStream> openCellsAsRead(const QString& name, int columnCount)
    {
        return openCells(name, columnCount);
    }

    // The rows of one worksheet, each with columnCount columns from column A, as RowAssembler
    // makes them of openCells. Throws WorkbookError.
    std::unique_ptr<WorkbookTable> openSheet(const QString& name, int columnCount,
                                             RowRelease release = RowRelease::WholeSheet);
    // No further sheet will be opened: the workbook may let go of what only opening a sheet
    // needs. The sheets opened read on.
    virtual void allSheetsOpened() {}
};

// Opens workbooks by path. Throws WorkbookError.
class WorkbookOpener
{
public:
    virtual ~WorkbookOpener() = default;
    virtual std::unique_ptr<Workbook> open(const QString& path) = 0;
};

} // namespace setzaiko
