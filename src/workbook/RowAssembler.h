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
// Of a reader that hands the cells out as it reads them, a row goes out once a cell of a
// later row has come, or the sheet has ended; the cells are held back until the sheet is known
// to be wide enough, so that a narrow sheet still fails before its first row. Where the reader
// takes its cells back, so are the rows (restarted).
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
    bool releasesRowsAsRead() const override { return m_prepared && m_releasedAsRead; }
    bool restarted() const override { return m_restarted; }

private:
    void prepare();
    void holdUntilWideEnough();
    bool fetch();
    bool fetchStreamed();

    std::unique_ptr<CellStream> m_stream;
    std::shared_ptr<const void> m_textHolder; // outlives the stream, which goes after the rows
    int m_columnCount;
    bool m_prepared = false;
    SheetLayout m_layout;
    int m_row = 0;

    std::vector<StreamedCell> m_gathered; // handed out before what the stream still holds
    std::size_t m_gatheredNext = 0;
    bool m_streaming = true;
    StreamedCell m_pending;
    bool m_hasPending = false;

    bool m_releasedAsRead = false;
    int m_restarts = 0;       // of the stream, as last seen
    bool m_takenBack = false; // the stream restarted before the pending cell
    bool m_restarted = false; // by the last nextRow
};

} // namespace setzaiko
