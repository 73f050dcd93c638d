#include "import/xlsx/XlsxSheetTable.h"

#include "import/xlsx/XlsxError.h"

#include <algorithm>

namespace setzaiko::xlsx {

XlsxSheetTable::XlsxSheetTable(QByteArray bytes, const ZipEntry& entry,
                               PendingSharedStrings sharedStrings, bool dates1904, int columnCount)
    : m_bytes(std::move(bytes)), m_entry(entry), m_pendingStrings(std::move(sharedStrings)),
      m_dates1904(dates1904), m_columnCount(columnCount)
{}

void XlsxSheetTable::prepare()
{
    ZipArchive archive(m_bytes);
    m_cells = readWorksheet(archive, m_entry, m_dates1904, m_columnCount);
    m_sharedStrings = m_pendingStrings.get();
    checkSharedStringIndices(m_cells, m_sharedStrings->size());
    if (!m_cells.rowsInOrder) {
        std::stable_sort(m_cells.values.begin(), m_cells.values.end(),
                         [](const SheetValue& a, const SheetValue& b) { return a.row < b.row; });
    }
    m_prepared = true;
}

CellValue XlsxSheetTable::valueOf(const SheetValue& value)
{
    switch (value.kind) {
    case SheetValue::Kind::Number:
        return CellValue::fromNumber(value.number);
    case SheetValue::Kind::SharedText:
        return CellValue::fromText((*m_sharedStrings)[value.text]);
    case SheetValue::Kind::OwnText:
        // Every own text belongs to one value, which is handed out once.
        return CellValue::fromText(std::move(m_cells.texts[value.text]));
    }
    return {};
}

bool XlsxSheetTable::nextRow(std::vector<CellValue>& cells)
{
    if (!m_prepared) {
        prepare();
    }
    if (m_row >= m_cells.rows) {
        // The rows are handed out: what they were gathered in is no longer needed.
        m_cells = WorksheetCells{m_cells.rows, m_cells.columns, true, {}, {}};
        return false;
    }
    if (m_columnCount > m_cells.columns) {
        fail("a requested column lies beyond the worksheet's used part");
    }
    cells.resize(static_cast<std::size_t>(m_columnCount));
    for (CellValue& cell : cells) {
        cell.kind = CellValue::Kind::Empty;
        cell.number = 0.0;
        cell.text.clear();
    }
    const auto row = static_cast<std::uint32_t>(m_row);
    while (m_next < m_cells.values.size() && m_cells.values[m_next].row == row) {
        const SheetValue& value = m_cells.values[m_next++];
        cells[value.column] = valueOf(value);
    }
    ++m_row;
    return true;
}

} // namespace setzaiko::xlsx
