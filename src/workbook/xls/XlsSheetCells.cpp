#include "workbook/xls/XlsSheetCells.h"

namespace setzaiko::xls {

XlsSheetCells::XlsSheetCells(const WorkbookParser& parser, int sheet)
    : m_sst(parser.sharedStrings()), m_sstHolder(parser.sharedStringHolder()),
      m_sheet(parser.sheets().at(static_cast<std::size_t>(sheet))), m_stream(parser.stream().fork())
{}

XlsSheetCells::~XlsSheetCells() = default;

SheetLayout XlsSheetCells::start()
{
    // Scanned on this sheet's own stream: the parser's remembered layouts are not shared
    // between threads.
    const WorkbookParser::Layout layout = scanLayout(*m_stream, m_sheet);
    m_reader = std::make_unique<SheetCellReader>(*m_stream, m_sheet.offset, m_sst, true);
    m_reader->pointIntoSharedStrings(); // which textHolder keeps
    return {layout.range.rows, layout.range.columns, layout.rowsInOrder};
}

bool XlsSheetCells::next(StreamedCell& cell)
{
    if (!m_reader->next(m_cell)) {
        return false;
    }
    cell.row = m_cell.row;
    cell.column = m_cell.column;
    cell.value = std::move(m_cell.cell.value);
    return true;
}

} // namespace setzaiko::xls
