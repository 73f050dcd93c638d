#pragma once

#include "import/Workbook.h"
#include "import/xlsx/RecentTexts.h"
#include "import/xlsx/SharedStrings.h"
#include "import/xlsx/WorksheetCells.h"
#include "import/xlsx/ZipArchive.h"

#include <QByteArray>

#include <memory>
#include <optional>
#include <vector>

namespace setzaiko::xlsx {

// The rows of one worksheet, from row 1 to the last row of its used part, with the requested
// columns. The first call of nextRow reads the whole worksheet part through an archive of its
// own over the workbook's bytes, so that the table may be read on another thread than the one
// that opened it, beside other tables of the same workbook.
class XlsxSheetTable : public WorkbookTable
{
public:
    XlsxSheetTable(QByteArray bytes, const ZipEntry& entry, PendingSharedStrings sharedStrings,
                   bool dates1904, int columnCount);

    bool nextRow(std::vector<CellValue>& cells) override;

private:
    void prepare();
    CellValue valueOf(const SheetValue& value);

    QByteArray m_bytes;
    ZipEntry m_entry;
    PendingSharedStrings m_pendingStrings;
    SharedStringTable m_sharedStrings;
    bool m_dates1904;
    int m_columnCount;

    bool m_prepared = false;
    int m_rows = 0;
    int m_columns = 0;
    WorksheetCells m_cells;
    // The values by row and column.
    std::optional<WorksheetCells::Reader> m_reader;
    RecentTexts m_texts;
    SheetValue m_pending;
    bool m_hasPending = false;
    int m_row = 0;
};

} // namespace setzaiko::xlsx
