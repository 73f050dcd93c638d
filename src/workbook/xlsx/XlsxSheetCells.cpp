#include "workbook/xlsx/XlsxSheetCells.h"

#include "common/Prefetch.h"

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

void XlsxSheetCells::readAhead()
{
    constexpr std::size_t half = aheadCount / 2;
    while (!m_readToEnd && m_aheadSize < aheadCount) {
        Ahead& ahead = m_ahead[(m_aheadFirst + m_aheadSize) % aheadCount];
        ahead.offset = m_reader->offset();
        if (!m_reader->next(ahead.value)) {
            m_readToEnd = true;
            return;
        }
        ++m_aheadSize;
        if (ahead.value.kind == SheetValue::Kind::SharedText) {
            prefetch(&(*m_sharedStrings)[ahead.value.sharedIndex]);
        }
        // The text of the value read half a ring before has come by now: its characters next.
        if (m_aheadSize > half) {
            const SheetValue& earlier =
                m_ahead[(m_aheadFirst + m_aheadSize - 1 - half) % aheadCount].value;
            if (earlier.kind == SheetValue::Kind::SharedText) {
                const QString& text = (*m_sharedStrings)[earlier.sharedIndex];
                if (!text.isEmpty()) {
                    prefetch(text.constData());
                    prefetch(text.constData() + (text.size() - 1));
                }
            }
        }
    }
}

bool XlsxSheetCells::next(StreamedCell& cell)
{
    readAhead();
    if (m_aheadSize == 0) {
        return false;
    }
    const Ahead& ahead = m_ahead[m_aheadFirst];
    // The values handed out are not read again: their memory goes as the rows are built.
    if (++m_sinceRelease == releaseEvery) {
        m_sinceRelease = 0;
        m_cells.releaseReadValues(ahead.offset);
    }
    cell.row = static_cast<int>(ahead.value.row);
    cell.column = ahead.value.column;
    cell.value = valueOf(ahead.value);
    m_aheadFirst = (m_aheadFirst + 1) % aheadCount;
    --m_aheadSize;
    return true;
}

} // namespace setzaiko::xlsx
