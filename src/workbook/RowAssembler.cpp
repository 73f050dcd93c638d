#include "workbook/RowAssembler.h"

#include <algorithm>

namespace setzaiko {

RowAssembler::RowAssembler(std::unique_ptr<CellStream> cells, int columnCount)
    : m_stream(std::move(cells)), m_textHolder(m_stream->textHolder()), m_columnCount(columnCount)
{}

RowAssembler::~RowAssembler() = default;

void RowAssembler::prepare()
{
    m_layout = m_stream->start();
    m_releasedAsRead = !m_layout.known;
    if (!m_layout.known) {
        holdUntilWideEnough();
    } else if (!m_layout.rowsInOrder) {
        StreamedCell cell;
        while (m_stream->next(cell)) {
            if (cell.column < m_columnCount) {
                m_gathered.push_back(std::move(cell));
            }
        }
        // Stable, so that of a position stored twice the later cell still wins.
        std::stable_sort(
            m_gathered.begin(), m_gathered.end(),
            [](const StreamedCell& a, const StreamedCell& b) { return a.row < b.row; });
        m_streaming = false;
    }
    m_prepared = true;
    m_hasPending = fetch();
}

// Nothing has gone out yet: a restart only drops the cells held.
void RowAssembler::holdUntilWideEnough()
{
    StreamedCell cell;
    while (m_stream->layoutSoFar().columns < m_columnCount) {
        const bool more = m_stream->next(cell);
        if (m_stream->restarts() != m_restarts) {
            m_restarts = m_stream->restarts();
            m_gathered.clear();
        }
        if (!more) {
            m_streaming = false;
            m_layout = m_stream->layoutSoFar();
            m_layout.known = true;
            return;
        }
        if (cell.column < m_columnCount) {
            m_gathered.push_back(std::move(cell));
        }
    }
    m_layout.columns = m_stream->layoutSoFar().columns;
}

bool RowAssembler::fetchStreamed()
{
    const bool more = m_stream->next(m_pending);
    if (m_stream->restarts() != m_restarts) {
        m_restarts = m_stream->restarts();
        m_takenBack = true;
    }
    if (!more && !m_layout.known) {
        m_layout = m_stream->layoutSoFar();
        m_layout.known = true;
    }
    return more;
}

bool RowAssembler::fetch()
{
    if (m_gatheredNext < m_gathered.size()) {
        m_pending = std::move(m_gathered[m_gatheredNext++]);
        return true;
    }
    if (!m_gathered.empty()) {
        m_gathered = {};
        m_gatheredNext = 0;
    }
    return m_streaming && fetchStreamed();
}

bool RowAssembler::nextRow(std::vector<CellValue>& cells)
{
    if (!m_prepared) {
        prepare();
    }
    m_restarted = m_takenBack;
    if (m_takenBack) {
        m_takenBack = false;
        m_row = 0;
    }
    // Of a sheet read as it goes, the used part reaches at least the pending cell's row.
    if (m_layout.known && m_row >= m_layout.rows) {
        // A cell the rows never took would make the table shorter than the sheet.
        if (m_hasPending) {
            throw WorkbookError(WorkbookFailure::Damaged, "a cell lies beyond the used part");
        }
        // The rows are handed out: what the reader gathered them in is no longer needed.
        m_stream.reset();
        m_gathered = {};
        return false;
    }
    if (m_columnCount > m_layout.columns) {
        throw WorkbookError(WorkbookFailure::NarrowSheet,
                            "a requested column lies beyond the worksheet's used part");
    }
    cells.resize(static_cast<std::size_t>(m_columnCount));
    for (CellValue& cell : cells) {
        cell.kind = CellValue::Kind::Empty;
        cell.number = 0.0;
        cell.text.clear();
        cell.kept = nullptr;
    }
    // A restart ends the row: it is taken back with the rows before it.
    while (m_hasPending && !m_takenBack && m_pending.row <= m_row) {
        if (m_pending.row < m_row) {
            // Taken for a row already handed out, the cell would be lost.
            throw WorkbookError(WorkbookFailure::Damaged, "a cell comes after a later row");
        }
        if (m_pending.column < m_columnCount) {
            cells[static_cast<std::size_t>(m_pending.column)] = std::move(m_pending.value);
        }
        m_hasPending = fetch();
    }
    ++m_row;
    return true;
}

std::unique_ptr<WorkbookTable> Workbook::openSheet(const QString& name, int columnCount,
                                                   RowRelease release)
{
    return std::make_unique<RowAssembler>(release == RowRelease::AsRead
                                              ? openCellsAsRead(name, columnCount)
                                              : openCells(name, columnCount),
                                          columnCount);
}

} // namespace setzaiko
