#pragma once

#include "workbook/CellStream.h"
#include "workbook/Workbook.h"

#include <memory>
#include <vector>

namespace setzaiko {

// The rows of one sheet, from row 1 to the last row of its used part, each with the requested
// columns, made of the cells a reader streams. A requested column beyond the used part fails
// the first row; a sheet without rows has nothing to fail. Cells stored out of row order are
// gathered in memory and put in order first; otherwise they are taken as they come.
//
// All reading is done from the first call of nextRow on, so a table may be read on another
// thread than the one that opened it.
class RowAssembler : public WorkbookTable
{
public:
    RowAssembler(std::unique_ptr<CellStream> cells, int columnCount);
    ~RowAssembler() override;

    bool nextRow(std::vector<CellValue>& cells) override;
    std::shared_ptr<const void> textHolder() const override { return m_textHolder; }

private:
    void prepare();
    bool fetch();

    std::unique_ptr<CellStream> m_stream;
    std::shared_ptr<const void> m_textHolder; // outlives the stream, which goes after the rows
    int m_columnCount;
    bool m_prepared = false;
    SheetLayout m_layout;
    int m_row = 0;

    std::vector<StreamedCell> m_gathered;
    std::size_t m_gatheredNext = 0;
    bool m_streaming = true;
    StreamedCell m_pending;
    bool m_hasPending = false;
};

} // namespace setzaiko
