#include "import/xlsx/XlsxSheetTable.h"

#include "import/xlsx/XlsxError.h"

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
    m_rows = m_cells.rows;
    m_columns = m_cells.columns;
    m_reader.emplace(m_cells);
    m_prepared = true;
}

CellValue XlsxSheetTable::valueOf(const SheetValue& value)
{
    switch (value.kind) {
    case SheetValue::Kind::Number:
        return CellValue::fromNumber(value.number);
    case SheetValue::Kind::SharedText:
        return CellValue::fromText((*m_sharedStrings)[value.sharedIndex]);
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText:
        return CellValue::fromText(m_texts.textOf(value));
    }
    return {};
}

bool XlsxSheetTable::nextRow(std::vector<CellValue>& cells)
{
    if (!m_prepared) {
        prepare();
    }
    if (m_row >= m_rows) {
        // The rows are handed out: what they were gathered in is no longer needed.
        m_reader.reset();
        m_cells = WorksheetCells{};
        return false;
    }
    if (m_columnCount > m_columns) {
        fail(WorkbookFailure::NarrowSheet,
             "a requested column lies beyond the worksheet's used part");
    }
    cells.resize(static_cast<std::size_t>(m_columnCount));
    for (CellValue& cell : cells) {
        cell.kind = CellValue::Kind::Empty;
        cell.number = 0.0;
        cell.text.clear();
    }
    const auto row = static_cast<std::uint32_t>(m_row);
    while ((m_hasPending || (m_hasPending = m_reader->next(m_pending))) && m_pending.row == row) {
        cells[m_pending.column] = valueOf(m_pending);
        m_hasPending = false;
    }
    ++m_row;
    return true;
}

} // namespace setzaiko::xlsx
