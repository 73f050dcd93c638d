#pragma once

#include <QString>

#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// What the workbook part says: its sheets in workbook order and its date system.
struct WorkbookPart
{
    struct Sheet
    {
        QString name;
        QString relationshipId;
    };
    std::vector<Sheet> sheets;
    bool dates1904 = false;
};

// Reads the workbook part; a part that is no SpreadsheetML workbook is damage. Throws
// WorkbookError.
WorkbookPart readWorkbookPart(ZipArchive& archive, const ZipEntry& entry);

} // namespace setzaiko::xlsx
