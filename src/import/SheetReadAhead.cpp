#include "import/SheetReadAhead.h"

#include <system_error>

namespace setzaiko::importrun {

SheetReadAhead::SheetReadAhead(Workbook& workbook, const QString& name, TableKind kind,
                               ProductMaster& products, StockMaster& stocks)
    : m_rules(kind, products, stocks)
{
    try {
        m_table = workbook.openSheet(name, columnsOf(kind));
        m_rules.keepTextsOf(m_table->textHolder());
    } catch (...) {
        m_failure = std::current_exception();
        return;
    }
    try {
        m_done = std::async(std::launch::async, [this] { read(); });
    } catch (const std::system_error&) {
        // No thread to be had: finish reads the sheet in its turn.
    }
}

SheetReadAhead::~SheetReadAhead()
{
    m_stop = true;
    if (m_done.valid()) {
        m_done.wait();
    }
    if (!m_handedOver) {
        m_rules.discardRows();
    }
}

void SheetReadAhead::read()
{
    try {
        std::vector<CellValue> cells;
        while (!m_stop && m_table->nextRow(cells)) {
            m_rules.apply(cells);
            m_rowsAfter.push_back(m_rules.rows());
            m_rowsSoFar.store(m_rules.rows(), std::memory_order_relaxed);
        }
        if (!m_stop) {
            m_rules.finish();
        }
    } catch (...) {
        m_failure = std::current_exception();
    }
}

} // namespace setzaiko::importrun
