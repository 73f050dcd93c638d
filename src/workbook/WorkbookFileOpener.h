#pragma once

#include "workbook/Workbook.h"

namespace setzaiko {

// Opens a workbook with the reader its content calls for (see workbookFormats()), whatever the
// file is named; anything else is no workbook.
class WorkbookFileOpener : public WorkbookOpener
{
public:
    std::unique_ptr<Workbook> open(const QString& path) override;
};

} // namespace setzaiko
