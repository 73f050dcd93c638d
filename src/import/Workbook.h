#pragma once

#include "import/CellValue.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace setzaiko {

// Any failure to read a workbook: it cannot be opened, is not an Excel 97-2003 workbook,
// is damaged or encrypted, or a requested column lies beyond a sheet's used part.
class WorkbookError : public std::runtime_error
{
public:
    explicit WorkbookError(const std::string& what) : std::runtime_error(what) {}
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
