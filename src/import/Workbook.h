#pragma once

#include "import/CellValue.h"
#include "import/WorkbookFailure.h"

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

// The rows of one table, in sheet order from row 1.
class WorkbookTable
{
public:
    virtual ~WorkbookTable() = default;

    // Reads the next row: cells receives the values of the requested columns, from column A,
    // by position. Returns false after the last row. Throws WorkbookError.
    virtual bool nextRow(std::vector<CellValue>& cells) = 0;
};

// An open workbook. Closing is destruction.
//
// What the import requires of every reader:
// - Table names are unique without regard to case; a workbook in which two worksheets share a
//   name, or two sheet entries share their data, is damaged and refused with WorkbookError.
// - A table may be opened while another table of the same workbook is being read on another
//   thread, and may be read on a thread other than the one that opened it. Two tables of one
//   workbook never share mutable state unguarded: each reads through its own view of the file.
//   The workbook itself outlives its tables and is not used by two threads at once otherwise.
// - Damage is never a shorter table: a table whose data do not end exactly where its part of
//   the file ends fails with WorkbookError instead of returning fewer rows.
// - Memory stays bounded by the file: no declared size is trusted for an allocation.
class Workbook
{
public:
    virtual ~Workbook() = default;

    // Every worksheet as "<sheet name>$", in workbook order.
    virtual QStringList tableNames() const = 0;

    // The rows of one table, each with columnCount columns from column A. Throws WorkbookError.
    virtual std::unique_ptr<WorkbookTable> openTable(const QString& name, int columnCount) = 0;
};

// Opens workbooks by path. Throws WorkbookError.
class WorkbookOpener
{
public:
    virtual ~WorkbookOpener() = default;
    virtual std::unique_ptr<Workbook> open(const QString& path) = 0;
};

} // namespace setzaiko
