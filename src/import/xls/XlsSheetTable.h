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
//
// The table reads through a stream of its own, and does all its reading from the first call of
// nextRow on: it may be read on another thread than the one that opened it, beside other
// tables of the same workbook.
class XlsSheetTable : public WorkbookTable
{
public:
    XlsSheetTable(const WorkbookParser& parser, int sheet, int columnCount);
    ~XlsSheetTable() override;

    bool nextRow(std::vector<CellValue>& cells) override;

private:
    void prepare();
    bool fetch();

    const std::vector<QString>& m_sst;
    WorkbookParser::Sheet m_sheet;
    int m_columnCount;
    std::unique_ptr<CfbStream> m_stream;
    bool m_prepared = false;
    WorkbookParser::Layout m_layout;
    int m_row = 0;

    std::unique_ptr<SheetCellReader> m_reader;
    std::vector<SheetCell> m_gathered;
    std::size_t m_gatheredNext = 0;
    SheetCell m_pending;
    bool m_hasPending = false;
};

} // namespace setzaiko::xls
