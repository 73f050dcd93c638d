#include "import/SheetReadAhead.h"

#include <system_error>

namespace setzaiko::importrun {

SheetReadAhead::SheetReadAhead(Workbook& workbook, const QString& name, TableKind kind,
                               ProductMaster& products, StockMaster& stocks)
    : m_sheet(kind, products, stocks)
{
    m_sheet.open(workbook, name);
    if (!m_sheet.opened()) {
        return;
    }
    try {
        m_done = std::async(std::launch::async, [this] { m_sheet.read(m_stop); });
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
        m_sheet.discardRows();
    }
}

} // namespace setzaiko::importrun
