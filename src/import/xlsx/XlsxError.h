#pragma once

#include "import/Workbook.h"

#include <string>

namespace setzaiko::xlsx {

// Every problem the reader finds ends the read of the workbook.
[[noreturn]] inline void fail(const std::string& what)
{
    throw WorkbookError(what);
}

} // namespace setzaiko::xlsx
