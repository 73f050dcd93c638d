#include "screen/ComponentCells.h"

#include "common/NumberFormat.h"
#include "screen/ComponentTexts.h"

namespace setzaiko {

QString componentCellText(const ComponentRow& row, int column)
{
    switch (column) {
    case componentcolumn::number:
        return formatNumber(row.rowNumber, formats::digits3);
    case componentcolumn::name:
        return row.productName;
    case componentcolumn::code:
        return row.productCode;
    case componentcolumn::stock:
        return formatNumber(row.stockQuantity, formats::grouped9);
    case componentcolumn::unit:
        return row.unit;
    case componentcolumn::perSet:
        return formatNumber(row.quantityPerSet, formats::grouped9);
    case componentcolumn::shipment:
        return formatNumber(row.plannedShipment, formats::grouped9);
    case componentcolumn::shortage:
        return formatNumber(row.shortage, formats::grouped9);
    case componentcolumn::sets:
        return formatNumber(row.setsPossible, formats::digits6);
    case componentcolumn::needed:
        return formatNumber(row.stockNeeded, formats::digits6);
    default:
        return {};
    }
}

int cellsWritten(const ComponentRow& row)
{
    switch (row.failedAt) {
    case ComponentRow::Figure::Shipment:
        return componentcolumn::shipment;
    case ComponentRow::Figure::Shortage:
        return componentcolumn::shortage;
    case ComponentRow::Figure::SetsPossible:
        return componentcolumn::sets;
    case ComponentRow::Figure::StockNeeded:
        return componentcolumn::needed;
    case ComponentRow::Figure::None:
        break;
    }
    return componentcolumn::count;
}

QString refusalText(OrderEntry::Check check)
{
    switch (check) {
    case OrderEntry::Check::Empty:
        return componenttexts::enterOrder.toString();
    case OrderEntry::Check::NotNumeric:
        return componenttexts::enterNumber.toString();
    case OrderEntry::Check::Zero:
        return componenttexts::noZero.toString();
    case OrderEntry::Check::Negative:
        return componenttexts::noNegative.toString();
    case OrderEntry::Check::Accepted:
    case OrderEntry::Check::OutOfRange:
        break;
    }
    return componenttexts::simulationFailed.toString();
}

QString listingMessage(const SetAvailability& listing)
{
    if (listing.rows.empty()) {
        return componenttexts::noComponents.toString();
    }
    if (listing.listStatus == ListStatus::Incomplete) {
        return componenttexts::missingComponent.toString();
    }
    if (listing.listStatus == ListStatus::Truncated) {
        return componenttexts::tooManyComponents.toString();
    }
    return {};
}

} // namespace setzaiko
