#pragma once

#include "import/Workbook.h"

namespace setzaiko {

// Opens a workbook with the reader its content calls for, whatever the file is named: a
// compound file goes to the Excel 97-2003 reader, a zip archive to the SpreadsheetML reader;
// anything else is no workbook.
class WorkbookFileOpener : public WorkbookOpener
{
public:
    std::unique_ptr<Workbook> open(const QString& path) override;
};

} // namespace setzaiko
