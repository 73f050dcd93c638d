#include "workbook/xlsx/XlsxSheetCells.h"

namespace setzaiko::xlsx {

XlsxSheetCells::XlsxSheetCells(QByteArray bytes, const ZipEntry& entry,
                               PendingSharedStrings sharedStrings, bool dates1904, int columnCount)
    : m_bytes(std::move(bytes)), m_entry(entry), m_pendingStrings(std::move(sharedStrings)),
      m_dates1904(dates1904), m_columnCount(columnCount),
      m_heldStrings(std::make_shared<HeldStrings>())
{}

SheetLayout XlsxSheetCells::start()
{
    {
        ZipArchive archive(m_bytes);
        m_cells = readWorksheet(archive, m_entry, m_dates1904, m_columnCount);
    }
    m_bytes = QByteArray(); // the part is read: the workbook's bytes may go
    m_sharedStrings = m_pendingStrings.get();
    m_heldStrings->table = m_sharedStrings;
    checkSharedStringIndices(m_cells, m_sharedStrings->size());
    m_reader.emplace(m_cells);
    // The values come back by row and column, whatever order the part stored them in.
    return {m_cells.rows, m_cells.columns, true};
}

CellValue XlsxSheetCells::valueOf(const SheetValue& value)
{
    switch (value.kind) {
    case SheetValue::Kind::Number:
        return CellValue::fromNumber(value.number);
    case SheetValue::Kind::SharedText:
        return CellValue::fromKeptText((*m_sharedStrings)[value.sharedIndex]);
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText:
        return CellValue::fromText(m_texts.textOf(value));
    }
    return {};
}

std::shared_ptr<const void> XlsxSheetCells::textHolder() const
{
    return m_heldStrings;
}

bool XlsxSheetCells::next(StreamedCell& cell)
{
    if (!m_reader->next(m_value)) {
        return false;
    }
    // The values read are not read again: their memory goes as the rows are built.
    if (++m_sinceRelease == releaseEvery) {
        m_sinceRelease = 0;
        m_cells.releaseReadValues(m_reader->offset());
    }
    cell.row = static_cast<int>(m_value.row);
    cell.column = m_value.column;
    cell.value = valueOf(m_value);
    return true;
}

} // namespace setzaiko::xlsx
