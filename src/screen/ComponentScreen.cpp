#include "screen/ComponentScreen.h"

#include "common/Cp932Encoder.h"
#include "common/NumberFormat.h"
#include "export/ExportTexts.h"
#include "screen/ComponentScreenView.h"
#include "screen/ComponentTexts.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace setzaiko {

namespace {

// Takes over the figures of the first `cells` cells of a row, column by column.
void copyCells(ComponentRow& to, const ComponentRow& from, int cells)
{
    for (int column = 0; column < cells; ++column) {
        switch (column) {
        case componentcolumn::number:
            to.rowNumber = from.rowNumber;
            break;
        case componentcolumn::name:
            to.productName = from.productName;
            break;
        case componentcolumn::code:
            to.productCode = from.productCode;
            break;
        case componentcolumn::stock:
            to.stockQuantity = from.stockQuantity;
            break;
        case componentcolumn::unit:
            to.unit = from.unit;
            break;
        case componentcolumn::perSet:
            to.quantityPerSet = from.quantityPerSet;
            break;
        case componentcolumn::shipment:
            to.plannedShipment = from.plannedShipment;
            break;
        case componentcolumn::shortage:
            to.shortage = from.shortage;
            break;
        case componentcolumn::sets:
            to.setsPossible = from.setsPossible;
            break;
        default:
            to.stockNeeded = from.stockNeeded;
            break;
        }
    }
}

} // namespace

ComponentScreen::ComponentScreen(const MasterData& masters, std::optional<SetProduct> setProduct,
                                 QString directory, ComponentScreenView* view)
    : m_masters(masters), m_setProduct(std::move(setProduct)), m_directory(std::move(directory)),
      m_view(view)
{}

QString ComponentScreen::setCodeText() const
{
    return m_setProduct ? m_setProduct->code : QString();
}

QString ComponentScreen::setNameText() const
{
    return m_setProduct ? m_setProduct->name : QString();
}

QString ComponentScreen::setStockText() const
{
    return m_setProduct ? formatNumber(m_setProduct->stock, formats::grouped9) : QString();
}

QString ComponentScreen::setUnitText() const
{
    return m_setProduct ? m_setProduct->unit : QString();
}

QString ComponentScreen::addableText() const
{
    return formatNumber(m_addableSets, formats::grouped9);
}

QString ComponentScreen::cellText(int row, int column) const
{
    if (row < 1 || row > shownRows()) {
        return {};
    }
    if (m_halfWritten && m_halfWritten->row == row && m_halfWritten->wasBlank &&
        column >= m_halfWritten->written) {
        return {};
    }
    return componentCellText(m_rows[static_cast<std::size_t>(row - 1)], column);
}

std::optional<CellRole> ComponentScreen::shortageRole(int row) const
{
    if (cellText(row, componentcolumn::shortage).isEmpty()) {
        return std::nullopt;
    }
    return m_rows[static_cast<std::size_t>(row - 1)].isShort() ? CellRole::Shortage
                                                               : CellRole::Plain;
}

std::optional<CellRole> ComponentScreen::cellRole(int row, int column) const
{
    return column == componentcolumn::shortage ? shortageRole(row) : std::nullopt;
}

bool ComponentScreen::limitsAddable(int row) const
{
    return std::find(m_limitingRows.begin(), m_limitingRows.end(), row) != m_limitingRows.end();
}

QString ComponentScreen::rowEmphasis(int row) const
{
    return limitsAddable(row) ? componenttexts::limitingRow.toString() : QString();
}

ComponentButtons ComponentScreen::buttons() const
{
    if (m_exporting) {
        return {false, false, false, false};
    }
    if (m_exportFailed) {
        return {false, false, false, true};
    }
    return {true, m_listedComplete, m_listedComplete, true};
}

bool ComponentScreen::mayExport() const
{
    return buttons().exportCsv;
}

std::vector<ScreenBox> ComponentScreen::takeBoxes()
{
    return std::exchange(m_boxes, {});
}

void ComponentScreen::due(QString text, bool beep, QString details)
{
    m_boxes.push_back({std::move(text), beep, std::move(details)});
    if (m_view) {
        m_view->boxesDue();
    }
}

void ComponentScreen::showRow(const ComponentRow& row)
{
    const int written = cellsWritten(row);
    const bool isNew = row.rowNumber > shownRows();
    if (isNew) {
        m_rows.resize(static_cast<std::size_t>(row.rowNumber));
    }
    copyCells(m_rows[static_cast<std::size_t>(row.rowNumber - 1)], row, written);

    // A blank cell stays blank until a step writes it; a row written whole is whole again.
    std::optional<HalfWrittenRow> before;
    if (m_halfWritten && m_halfWritten->row == row.rowNumber) {
        before = std::exchange(m_halfWritten, std::nullopt);
    }
    if (written == componentcolumn::count) {
        return;
    }
    const bool wasBlank = isNew || (before && before->wasBlank);
    m_halfWritten = HalfWrittenRow{
        row.rowNumber, before && before->wasBlank ? std::max(before->written, written) : written,
        wasBlank};
}

void ComponentScreen::showRows(const std::vector<ComponentRow>& rows, std::int32_t order)
{
    // Rows are written from row 1 on, so the first row tells whether any shipment cell of this
    // step stands in the list: a step that failed before its first one left the list's
    // shipments, and so their order, as they were.
    if (!rows.empty() && cellsWritten(rows.front()) > componentcolumn::shipment) {
        m_shownOrder = order;
    }
    for (const ComponentRow& row : rows) {
        showRow(row);
        notifyRowsChanged(row.rowNumber, row.rowNumber);
        if (m_view) {
            m_view->rowChanged(row.rowNumber);
        }
    }
}

void ComponentScreen::showListing(const SetAvailability& listing)
{
    m_messageLine.clear();
    if (m_view) {
        m_view->scrolledToTop();
    }
    // The marks follow the listing: its rows are rewritten, and its figures decide them.
    const std::vector<int> marked = std::exchange(m_limitingRows, {});
    for (const ComponentRow& row : listing.rows) {
        if (listing.limitsAddable(row)) {
            m_limitingRows.push_back(row.rowNumber);
        }
    }
    m_limitingCodes = listing.limitingCodes();
    showRows(listing.rows, 0);
    for (const int row : marked) {
        if (row > static_cast<int>(listing.rows.size())) {
            notifyRowsChanged(row, row);
        }
    }
    m_listStatus = listing.listStatus;
    if (listing.failed) {
        due(componenttexts::listingFailed.toString(), true);
        return;
    }
    if (listing.capacityExceeded) {
        due(componenttexts::capacityBox.toString(), false);
    }
    m_addableSets = listing.addableSets;
    m_messageLine = listingMessage(listing);
    if (m_view) {
        m_view->cursorMoved(1, 1);
    }
    m_listedRows = static_cast<int>(listing.rows.size());
    m_listedComplete = m_listedComplete || listing.isComplete();
}

void ComponentScreen::listComponents()
{
    SetAvailability listing;
    try {
        listing = setzaiko::listComponents(setCodeText(), m_masters, capacity);
    } catch (const std::exception&) {
        m_listStatus = ListStatus::Failed;
        due(componenttexts::listingFailed.toString(), true);
        return;
    }
    showListing(listing);
}

OrderPlan::Outcome ComponentScreen::recalculate(const QString& entry)
{
    m_acceptedOrder.reset();
    OrderPlan plan;
    try {
        plan = planOrder(entry, m_setProduct ? std::optional(m_setProduct->stock) : std::nullopt,
                         setCodeText(), m_masters, capacity);
    } catch (const std::exception&) {
        due(componenttexts::simulationFailed.toString(), true);
        return OrderPlan::Outcome::Failed;
    }
    m_acceptedOrder = plan.order;
    switch (plan.outcome) {
    case OrderPlan::Outcome::Refused:
        due(refusalText(plan.entry.check), false);
        break;
    case OrderPlan::Outcome::Covered:
        // The plain listing is what this order needs: the set's own stock ships it whole.
        showListing(*plan.availability);
        m_shownOrder = plan.order.value_or(0);
        break;
    case OrderPlan::Outcome::Planned:
    case OrderPlan::Outcome::Failed:
        if (plan.componentsStarted) {
            if (m_view) {
                m_view->scrolledToTop();
            }
            m_messageLine.clear();
        }
        showRows(plan.components, plan.order.value_or(0));
        if (plan.outcome == OrderPlan::Outcome::Failed) {
            due(componenttexts::simulationFailed.toString(), true);
            break;
        }
        if (plan.capacityExceeded) {
            due(componenttexts::capacityBox.toString(), false);
        }
        if (m_view) {
            m_view->cursorMoved(1, 1);
        }
        break;
    }
    return plan.outcome;
}

StockStatus ComponentScreen::stockStatus() const
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
    for (int r = 0; r < m_listedRows; ++r) {
        status.lines.push_back(stockStatusLine(m_rows[static_cast<std::size_t>(r)]));
    }
    return status;
}

std::optional<StockStatusExport> ComponentScreen::exportStockStatus(const QDateTime& stamp)
{
    m_exporting = true;
    m_messageLine = componenttexts::exporting.toString();
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
        due(componenttexts::exportFailed.toString(), true,
            exportError ? exportError->cause()
                        : exporttexts::unexpectedCause.toString() + u'\n' +
                              QString::fromUtf8(failure.what()));
        m_exporting = false;
        m_exportFailed = true;
        return std::nullopt;
    }
    if (written.lines > 0 && m_view) {
        m_view->cursorMoved(written.lines, componentcolumn::shortage);
    }
    due(QString::number(written.lines) + componenttexts::exportCountAfter.toString(), false);
    m_messageLine.clear();
    m_exporting = false;
    return written;
}

} // namespace setzaiko
