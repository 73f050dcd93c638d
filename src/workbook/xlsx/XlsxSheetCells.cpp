#include "workbook/xlsx/XlsxSheetCells.h"

#include "common/Prefetch.h"
#include "workbook/xlsx/XlsxError.h"

#include <utility>

namespace setzaiko::xlsx {

XlsxSheetCells::XlsxSheetCells(QByteArray bytes, const ZipEntry& entry,
                               PendingSharedStrings sharedStrings, bool dates1904, int columnCount,
                               RowRelease release, RereadWorkbook reread)
    : m_bytes(std::move(bytes)), m_entry(entry), m_pendingStrings(std::move(sharedStrings)),
      m_dates1904(dates1904), m_columnCount(columnCount),
      m_heldStrings(std::make_shared<HeldStrings>())
{
    if (release == RowRelease::AsRead) {
        // Read from now on, while the shared strings may still be read. The feed holds the
        // part's bytes for as long as the part may have to be read whole.
        m_feed = std::make_unique<WorksheetFeed>(std::exchange(m_bytes, QByteArray()), m_entry,
                                                 m_dates1904, m_columnCount, std::move(reread));
    }
}

XlsxSheetCells::~XlsxSheetCells() = default;

SheetLayout XlsxSheetCells::start()
{
    if (!m_feed) {
        readWhole();
        // The values come back by row and column, whatever order the part stored them in.
        return layoutSoFar();
    }
    try {
        m_sharedStrings = m_pendingStrings.get();
    } catch (...) {
        settle(std::current_exception());
    }
    m_heldStrings->table = m_sharedStrings;
    SheetLayout layout;
    layout.known = false;
    return layout;
}

// What start does of a sheet read whole, failures and their order included.
void XlsxSheetCells::readWhole()
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
}

void XlsxSheetCells::startOverWhole()
{
    WorksheetFeed::PartToRead part = m_feed->takePart();
    m_bytes = std::move(part.bytes);
    m_entry = part.entry;
    m_feed.reset();
    m_aheadFirst = 0;
    m_aheadSize = 0;
    m_readToEnd = false;
    readWhole();
    ++m_restarts;
}

// A sheet read whole fails with damage in its part before it fails otherwise, and, where a value
// refers beyond the shared strings, only if a later cell does not replace it: the part read to
// its end tells which. Returns where the part is read whole after all and does not fail.
void XlsxSheetCells::settle(const std::exception_ptr& failure)
{
    SheetValue value;
    for (;;) {
        switch (m_feed->next(value)) {
        case WorksheetFeed::Step::Value:
            break;
        case WorksheetFeed::Step::End:
            std::rethrow_exception(failure);
        case WorksheetFeed::Step::ReadWhole:
            startOverWhole();
            return;
        }
    }
}

SheetLayout XlsxSheetCells::layoutSoFar() const
{
    if (m_feed) {
        return {m_feed->rows(), m_feed->columns()};
    }
    return {m_cells.rows, m_cells.columns};
}

bool XlsxSheetCells::nextValue(SheetValue& value)
{
    if (!m_feed) {
        return m_reader->next(value);
    }
    switch (m_feed->next(value)) {
    case WorksheetFeed::Step::Value:
        // The part read whole tells of such a value in its own order, if it stands at all.
        if (value.kind == SheetValue::Kind::SharedText &&
            value.sharedIndex >= m_sharedStrings->size()) {
            try {
                fail("a cell refers to a shared string that does not exist");
            } catch (const WorkbookError&) {
                settle(std::current_exception());
            }
            return m_reader->next(value);
        }
        return true;
    case WorksheetFeed::Step::End:
        return false;
    case WorksheetFeed::Step::ReadWhole:
        startOverWhole();
        return m_reader->next(value);
    }
    return false;
}

CellValue XlsxSheetCells::valueOf(const SheetValue& value)
{
    switch (value.kind) {
    case SheetValue::Kind::Number:
        return CellValue::fromNumber(value.number);
    case SheetValue::Kind::SharedText: {
        const SharedStrings::Kept kept = m_sharedStrings->keptAt(value.sharedIndex);
        return CellValue::fromKeptText(*kept.text, kept.plain);
    }
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
    SheetValue value;
    while (!m_readToEnd && m_aheadSize < aheadCount) {
        const std::size_t offset = m_reader ? m_reader->offset() : 0;
        // Reading whole after all empties the ring: the value goes where the ring now ends.
        if (!nextValue(value)) {
            m_readToEnd = true;
            return;
        }
        Ahead& ahead = m_ahead[(m_aheadFirst + m_aheadSize) % aheadCount];
        ahead.value = value;
        ahead.cell = valueOf(value); // a shared text's is only where it lies
        ahead.offset = offset;
        ++m_aheadSize;
        if (ahead.value.kind == SheetValue::Kind::SharedText && !ahead.cell.keptPlain) {
            prefetch(ahead.cell.kept);
        }
    }
}

bool XlsxSheetCells::next(StreamedCell& cell)
{
    readAhead();
    if (m_aheadSize == 0) {
        return false;
    }
    Ahead& ahead = m_ahead[m_aheadFirst];
    // The values handed out are not read again: their memory goes as the rows are built.
    if (!m_feed && ++m_sinceRelease == releaseEvery) {
        m_sinceRelease = 0;
        m_cells.releaseReadValues(ahead.offset);
    }
    cell.row = static_cast<int>(ahead.value.row);
    cell.column = ahead.value.column;
    cell.value = std::move(ahead.cell);
    m_aheadFirst = (m_aheadFirst + 1) % aheadCount;
    --m_aheadSize;
    return true;
}

} // namespace setzaiko::xlsx
