#include "import/SheetReadAhead.h"

namespace setzaiko::importrun {

SheetReadAhead::SheetReadAhead(std::unique_ptr<WorkbookTable> table, TableKind kind,
                               ProductMaster& products, StockMaster& stocks)
    : m_table(std::move(table)), m_rules(kind, products, stocks)
{
    m_done = std::async(std::launch::async, [this] { read(); });
}

SheetReadAhead::~SheetReadAhead()
{
    m_stop = true;
    if (m_done.valid()) {
        m_done.wait();
    }
}

void SheetReadAhead::read()
{
    try {
        std::vector<CellValue> cells;
        while (!m_stop && m_table->nextRow(cells)) {
            m_rules.apply(cells);
            m_rowsAfter.push_back(m_rules.rows());
        }
    } catch (...) {
        m_failure = std::current_exception();
    }
}

} // namespace setzaiko::importrun
