#pragma once

#include "import/Workbook.h"
#include "import/xls/SheetCellReader.h"
#include "import/xls/WorkbookParser.h"

#include <memory>
#include <vector>

namespace setzaiko::xls {

// The rows of one worksheet, from row 1 to the last row of its used part, with the
// requested columns. Cells are streamed from the file as the rows are read; only a worksheet
// whose cells are stored out of row order is gathered in memory first.
class XlsSheetTable : public WorkbookTable
{
public:
    XlsSheetTable(const WorkbookParser& parser, int sheet, int columnCount);

    bool nextRow(std::vector<CellValue>& cells) override;

private:
    bool fetch();

    int m_columnCount;
    WorkbookParser::Layout m_layout;
    int m_row = 0;

    std::unique_ptr<SheetCellReader> m_reader;
    std::vector<SheetCell> m_gathered;
    std::size_t m_gatheredNext = 0;
    SheetCell m_pending;
    bool m_hasPending = false;
};

} // namespace setzaiko::xls
