#pragma once

#include "workbook/Workbook.h"

#include <string>
#include <vector>

namespace setzaiko::testing {

// What a table hands out, read to its end as the import reads it: rows the table takes back are
// dropped, and so are all rows before a failure of a table that releases its rows as read. The
// texts are made the rows' own.
struct TableRows
{
    std::vector<std::vector<CellValue>> rows;
    bool failed = false;
    WorkbookFailure failure = WorkbookFailure::Damaged;
    std::string detail;
    int restarts = 0;

    friend bool operator==(const TableRows& a, const TableRows& b)
    {
        return a.rows == b.rows && a.failed == b.failed && a.failure == b.failure &&
               a.detail == b.detail;
    }
};

TableRows readTableRows(WorkbookTable& table);

} // namespace setzaiko::testing
