#pragma once

#include "workbook/Workbook.h"

#include <string>

namespace setzaiko::xls {

// Every problem the reader finds ends the read of the workbook.
// Without a kind, the file is damaged.
[[noreturn]] inline void fail(const std::string& what)
{
    throw WorkbookError(WorkbookFailure::Damaged, what);
}

[[noreturn]] inline void fail(WorkbookFailure kind, const std::string& what)
{
    throw WorkbookError(kind, what);
}

} // namespace setzaiko::xls
