#pragma once

#include "workbook/CellStream.h"
#include "workbook/xls/SheetCellReader.h"
#include "workbook/xls/WorkbookParser.h"

#include <memory>
#include <vector>

namespace setzaiko::xls {

// The stored cells of one worksheet, streamed from the file in file order.
//
// The cells are read through a stream of their own, from start on: they may be read on another
// thread than the one that opened them, beside other sheets of the same workbook.
class XlsSheetCells : public CellStream
{
public:
    XlsSheetCells(const WorkbookParser& parser, int sheet);
    ~XlsSheetCells() override;

    SheetLayout start() override;
    bool next(StreamedCell& cell) override;
    // The shared strings, whose texts the cells point to.
    std::shared_ptr<const void> textHolder() const override { return m_sstHolder; }

private:
    const std::vector<QString>& m_sst;
    std::shared_ptr<const void> m_sstHolder;
    WorkbookParser::Sheet m_sheet;
    std::unique_ptr<CfbStream> m_stream;
    std::unique_ptr<SheetCellReader> m_reader;
    SheetCell m_cell;
};

} // namespace setzaiko::xls
