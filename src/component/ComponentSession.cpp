#include "component/ComponentSession.h"

#include "common/Cp932Encoder.h"
#include "component/ComponentSessionView.h"
#include "component/ComponentTexts.h"
#include "export/ExportTexts.h"

#include <exception>
#include <memory>
#include <utility>

namespace setzaiko {

ComponentSession::ComponentSession(const MasterData& masters, std::optional<SetProduct> setProduct,
                                   QString directory, ComponentSessionView* view)
    : m_masters(masters), m_setProduct(std::move(setProduct)), m_directory(std::move(directory)),
      m_view(view)
{}

const ShownComponentRow& ComponentSession::row(int row) const
{
    return m_rows.at(static_cast<std::size_t>(row - 1));
}

int ComponentSession::lastShownRow() const
{
    for (int row = capacity; row >= 1; --row) {
        if (this->row(row).isShown(componentcolumn::number)) {
            return row;
        }
    }
    return 0;
}

std::vector<SessionBox> ComponentSession::takeBoxes()
{
    return std::exchange(m_boxes, {});
}

void ComponentSession::due(QString text, bool beep, QString details)
{
    m_boxes.push_back({std::move(text), beep, std::move(details)});
    if (m_view) {
        m_view->boxesDue();
    }
}

void ComponentSession::showRows(const std::vector<ComponentRow>& rows, std::int32_t order)
{
    // Rows are written from row 1 on, so the first row tells whether any shipment cell of this
    // step stands in the list: a step that failed before its first one left the list's
    // shipments, and so their order, as they were.
    if (!rows.empty() && rows.front().columnsWritten > componentcolumn::shipment) {
        m_shownOrder = order;
    }
    for (const ComponentRow& row : rows) {
        m_rows.at(static_cast<std::size_t>(row.rowNumber - 1)).show(row);
        if (m_view) {
            m_view->rowChanged(row.rowNumber);
        }
    }
}

void ComponentSession::showListing(const ComponentListing& listing)
{
    m_messageLine.clear();
    if (m_view) {
        m_view->scrolledToTop();
    }
    showRows(listing.rows, 0);
    m_listStatus = listing.listStatus;
    if (listing.failed) {
        due(componenttexts::listingFailed.toString(), true);
        return;
    }
    if (listing.capacityExceeded) {
        due(componenttexts::capacityBox.toString(), false);
    }
    m_addableSets = listing.addableSets;
    m_messageLine = listing.messageLine;
    if (m_view) {
        m_view->cursorMoved(1, 1);
    }
    m_listedRows = static_cast<int>(listing.rows.size());
}

void ComponentSession::enableAfterCompleteListing()
{
    if (m_listStatus == ListStatus::Complete) {
        m_buttons.recalculate = true;
        m_buttons.exportCsv = true;
    }
}

void ComponentSession::listComponents()
{
    const QString code = m_setProduct ? m_setProduct->code : QString();
    ComponentListing listing;
    try {
        listing = setzaiko::listComponents(code, m_masters, capacity);
    } catch (const std::exception&) {
        m_listStatus = ListStatus::Failed;
        due(componenttexts::listingFailed.toString(), true);
        return;
    }
    showListing(listing);
    enableAfterCompleteListing();
}

OrderSimulation::Outcome ComponentSession::recalculate(const QString& entry)
{
    m_acceptedOrder.reset();
    OrderSimulation simulation;
    try {
        simulation =
            simulateOrder(entry, m_setProduct ? std::optional(m_setProduct->stock) : std::nullopt,
                          m_setProduct ? m_setProduct->code : QString(), m_masters, capacity);
    } catch (const std::exception&) {
        due(componenttexts::simulationFailed.toString(), true);
        return OrderSimulation::Outcome::Failed;
    }
    m_acceptedOrder = simulation.acceptedOrder;
    switch (simulation.outcome) {
    case OrderSimulation::Outcome::Refused:
        due(simulation.messageBox, false);
        break;
    case OrderSimulation::Outcome::Covered:
        // The plain listing is what this order needs: the set's own stock ships it whole.
        showListing(*simulation.listing);
        m_shownOrder = simulation.acceptedOrder.value_or(0);
        enableAfterCompleteListing();
        break;
    case OrderSimulation::Outcome::Simulated:
    case OrderSimulation::Outcome::Failed:
        if (simulation.rowsRewritten) {
            if (m_view) {
                m_view->scrolledToTop();
            }
            m_messageLine.clear();
        }
        showRows(simulation.rows, simulation.acceptedOrder.value_or(0));
        if (simulation.outcome == OrderSimulation::Outcome::Failed) {
            due(simulation.messageBox, true);
            break;
        }
        if (simulation.capacityExceeded) {
            due(componenttexts::capacityBox.toString(), false);
        }
        if (m_view) {
            m_view->cursorMoved(1, 1);
        }
        break;
    }
    return simulation.outcome;
}

StockStatus ComponentSession::stockStatus() const
{
    StockStatus status;
    status.directory = m_directory;
    if (m_setProduct) {
        status.setCode = m_setProduct->code;
        status.setName = m_setProduct->name;
        status.unit = m_setProduct->unit;
        status.stock = m_setProduct->stock;
    }
    status.order = m_shownOrder;
    status.addable = m_addableSets;
    for (int r = 1; r <= m_listedRows; ++r) {
        const ShownComponentRow& shown = row(r);
        status.lines.push_back({
            shown.text(componentcolumn::code),
            shown.text(componentcolumn::name),
            shown.number(componentcolumn::stock),
            shown.text(componentcolumn::unit),
            shown.number(componentcolumn::perSet),
            shown.number(componentcolumn::shipment),
            shown.number(componentcolumn::shortage),
        });
    }
    return status;
}

std::optional<StockStatusExport> ComponentSession::exportStockStatus(const QDateTime& stamp)
{
    m_buttons = {false, false, false, false};
    m_messageLine = exporttexts::exporting.toString();
    if (m_view) {
        m_view->working();
    }
    StockStatusExport written;
    try {
        const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
        written = setzaiko::exportStockStatus(stockStatus(), stamp, *encoder);
    } catch (const std::exception& failure) {
        // The box keeps the fixed text; the cause waits behind its details button.
        const auto* exportError = dynamic_cast<const ExportError*>(&failure);
        due(exporttexts::failed.toString(), true,
            exportError ? exportError->cause()
                        : exporttexts::unexpectedCause.toString() + u'\n' +
                              QString::fromUtf8(failure.what()));
        m_buttons.back = true;
        return std::nullopt;
    }
    if (written.lines > 0 && m_view) {
        m_view->cursorMoved(written.lines, shortageColumn);
    }
    due(written.countMessage, false);
    m_messageLine.clear();
    m_buttons = {true, true, true, true};
    return written;
}

} // namespace setzaiko
