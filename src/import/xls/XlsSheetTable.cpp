#include "import/xls/XlsSheetTable.h"

#include "import/xls/XlsError.h"

#include <algorithm>

namespace setzaiko::xls {

XlsSheetTable::XlsSheetTable(const WorkbookParser& parser, int sheet, int columnCount)
    : m_sst(parser.sharedStrings()), m_sheet(parser.sheets().at(static_cast<std::size_t>(sheet))),
      m_columnCount(columnCount), m_stream(parser.stream().fork())
{}

XlsSheetTable::~XlsSheetTable() = default;

void XlsSheetTable::prepare()
{
    m_gathered.clear();
    m_gatheredNext = 0;
    m_layout = scanLayout(*m_stream, m_sheet);
    m_reader = std::make_unique<SheetCellReader>(*m_stream, m_sheet.offset, m_sst, true);
    if (!m_layout.rowsInOrder) {
        SheetCell cell;
        while (m_reader->next(cell)) {
            if (cell.column < m_columnCount) {
                m_gathered.push_back(std::move(cell));
            }
        }
        std::stable_sort(m_gathered.begin(), m_gathered.end(),
                         [](const SheetCell& a, const SheetCell& b) { return a.row < b.row; });
        m_reader.reset();
    }
    m_hasPending = fetch();
    m_prepared = true;
}

bool XlsSheetTable::fetch()
{
    if (m_reader) {
        return m_reader->next(m_pending);
    }
    if (m_gatheredNext < m_gathered.size()) {
        m_pending = std::move(m_gathered[m_gatheredNext++]);
        return true;
    }
    return false;
}

bool XlsSheetTable::nextRow(std::vector<CellValue>& cells)
{
    if (!m_prepared) {
        prepare();
    }
    if (m_row >= m_layout.range.rows) {
        return false;
    }
    if (m_columnCount > m_layout.range.columns) {
        fail(WorkbookFailure::NarrowSheet,
             "a requested column lies beyond the worksheet's used part");
    }
    cells.resize(static_cast<std::size_t>(m_columnCount));
    for (CellValue& cell : cells) {
        cell.kind = CellValue::Kind::Empty;
        cell.number = 0.0;
        cell.text.clear();
    }
    while (m_hasPending && m_pending.row == m_row) {
        if (m_pending.column < m_columnCount) {
            cells[static_cast<std::size_t>(m_pending.column)] = std::move(m_pending.cell.value);
        }
        m_hasPending = fetch();
    }
    ++m_row;
    return true;
}

} // namespace setzaiko::xls
