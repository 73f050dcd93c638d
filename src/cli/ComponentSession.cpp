#include "cli/ComponentSession.h"

#include "component/ComponentTexts.h"
#include "component/OrderSimulation.h"
#include "export/ExportTexts.h"
#include "export/StockStatusCsv.h"

namespace setzaiko::cli {

ComponentSession::ComponentSession(const ProductMaster& products, const StockMaster& stocks,
                                   const SetProductSelection& selection, const QString& directory)
    : m_products(products), m_stocks(stocks), m_selection(selection), m_lblDir(directory)
{}

void ComponentSession::setText(int row, int column, const QString& text)
{
    m_grid.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
}

const QString& ComponentSession::cell(int row, int column) const
{
    return m_grid.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

int ComponentSession::lastListedRow() const
{
    int last = 0;
    for (int row = 1; row < gridRows; ++row) {
        if (!cell(row, 0).isEmpty()) {
            last = row;
        }
    }
    return last;
}

void ComponentSession::applyListing(const ComponentListing& listing)
{
    m_lblMsg.clear();
    m_listStatus = listing.listStatus;
    writeComponentRows(*this, listing.rows);
    if (listing.failed) {
        m_boxes << componenttexts::listingFailed.toString();
        m_runtimeFailure = true;
        return;
    }
    if (listing.capacityExceeded) {
        m_boxes << componenttexts::capacityBox.toString();
    }
    m_lblMsg = listing.messageLine;
    m_lblKnousu = listing.knousuText;
    m_lblRow = listing.rowText;
}

void ComponentSession::showComponents()
{
    applyListing(listComponents(m_selection.LblScode, m_products, m_stocks));
    if (m_listStatus == liststatus::complete) {
        m_calcEnabled = true;
        m_csvEnabled = true;
    }
}

void ComponentSession::recalculate(const QString& entry)
{
    m_lblJsuryo.clear();
    const OrderSimulation simulation =
        simulateOrder(entry, m_selection.LblZaikosu, m_selection.LblScode, m_products, m_stocks);
    m_lblJsuryo = simulation.jsuryoText;
    switch (simulation.outcome) {
    case OrderSimulation::Outcome::Refused:
        m_boxes << simulation.messageBox;
        m_orderRefused = true;
        return;
    case OrderSimulation::Outcome::Covered:
        applyListing(*simulation.listing);
        if (m_listStatus == liststatus::complete) {
            m_calcEnabled = true;
            m_csvEnabled = true;
        }
        return;
    case OrderSimulation::Outcome::Simulated:
    case OrderSimulation::Outcome::Failed:
        if (simulation.rowsRewritten) {
            m_lblMsg.clear();
        }
        writeComponentRows(*this, simulation.rows);
        if (simulation.capacityExceeded) {
            m_boxes << componenttexts::capacityBox.toString();
        }
        if (simulation.outcome == OrderSimulation::Outcome::Failed) {
            m_boxes << simulation.messageBox;
            m_runtimeFailure = true;
        }
        return;
    }
}

std::optional<std::pair<QString, QString>> ComponentSession::exportCsv(const QDateTime& stamp,
                                                                       const Cp932Encoder& encoder)
{
    StockStatusScreen screen;
    screen.directory = m_lblDir;
    screen.setCode = m_selection.LblScode;
    screen.setName = m_selection.LblSname;
    screen.orderText = m_lblJsuryo;
    screen.stockText = m_selection.LblZaikosu;
    screen.addableText = m_lblKnousu;
    screen.unitText = m_selection.LblTani;
    screen.rowText = m_lblRow;
    screen.cell = [this](int row, int column) -> std::optional<QString> {
        if (row < 1 || row >= gridRows) {
            return std::nullopt;
        }
        return cell(row, column);
    };
    try {
        const StockStatusExport written = exportStockStatus(screen, stamp, encoder);
        return std::pair{written.path, written.countMessage};
    } catch (const std::exception&) {
        m_runtimeFailure = true;
        return std::nullopt;
    }
}

} // namespace setzaiko::cli
