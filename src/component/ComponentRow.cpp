#include "component/ComponentRow.h"

#include "common/NumberFormat.h"

namespace setzaiko {

QString ComponentRow::text(int column) const
{
    switch (column) {
    case componentcolumn::number:
        return formatNumber(rowNumber, formats::digits3);
    case componentcolumn::name:
        return productName;
    case componentcolumn::code:
        return productCode;
    case componentcolumn::stock:
        return formatNumber(stockQuantity, formats::grouped9);
    case componentcolumn::unit:
        return unit;
    case componentcolumn::perSet:
        return formatNumber(quantityPerSet, formats::grouped9);
    case componentcolumn::shipment:
        return formatNumber(plannedShipment, formats::grouped9);
    case componentcolumn::shortage:
        return formatNumber(shortage, formats::grouped9);
    case componentcolumn::sets:
        return formatNumber(setsPossible, formats::digits6);
    case componentcolumn::needed:
        return formatNumber(stockNeeded, formats::digits6);
    default:
        return {};
    }
}

CellColours shortageColours(bool isShort)
{
    if (isShort) {
        return {{255, 0, 0}, {255, 255, 0}};
    }
    return {{0, 0, 0}, {255, 255, 255}};
}

} // namespace setzaiko
