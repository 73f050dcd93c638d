#include "import/SheetReading.h"

namespace setzaiko::importrun {

namespace {

constexpr std::size_t progressEvery = 4096; // rows

} // namespace

SheetReading::SheetReading(TableKind kind, ProductMaster& products, StockMaster& stocks)
    : m_rules(kind, products, stocks)
{}

void SheetReading::open(Workbook& workbook, const QString& name)
{
    try {
        open(workbook.openSheet(name, columnsOf(m_rules.kind()), RowRelease::AsRead));
    } catch (...) {
        m_failure = std::current_exception();
    }
}

void SheetReading::open(std::unique_ptr<WorkbookTable> table)
{
    m_table = std::move(table);
    m_rules.keepTextsOf(m_table->textHolder());
}

void SheetReading::takeBack()
{
    m_rules.discardRows();
    m_rowsAfter.clear();
    m_rowsSoFar.store(0, std::memory_order_relaxed);
}

void SheetReading::discardRows()
{
    m_rules.discardRows();
}

void SheetReading::read(const std::atomic<bool>& stop, const RowCount& rowDone,
                        const RowCount& progress)
{
    if (!m_table) {
        return;
    }
    std::vector<CellValue> cells;
    std::exception_ptr rulesFailure;
    try {
        while (!stop) {
            const bool more = m_table->nextRow(cells);
            if (m_table->restarted()) {
                takeBack();
                rulesFailure = nullptr;
            }
            if (!more) {
                break;
            }
            if (rulesFailure) {
                continue; // read on only for damage, which would have come first
            }
            try {
                m_rules.apply(cells);
            } catch (...) {
                rulesFailure = std::current_exception();
                if (!m_table->releasesRowsAsRead()) {
                    break;
                }
                continue;
            }
            m_rowsSoFar.store(m_rules.rows(), std::memory_order_relaxed);
            if (rowDone && !m_table->releasesRowsAsRead()) {
                rowDone(m_rules.rows());
                continue;
            }
            m_rowsAfter.push_back(m_rules.rows());
            if (progress && m_rowsAfter.size() % progressEvery == 0) {
                progress(m_rules.rows());
            }
        }
    } catch (...) {
        // Found before the first row, the failure would have left the table empty.
        if (m_table->releasesRowsAsRead()) {
            takeBack();
        }
        m_failure = std::current_exception();
        return;
    }
    if (rulesFailure) {
        m_failure = rulesFailure;
    } else if (!stop) {
        m_rules.finish();
    }
}

} // namespace setzaiko::importrun
