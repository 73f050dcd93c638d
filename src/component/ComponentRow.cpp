#include "component/ComponentRow.h"

#include "common/NumberFormat.h"

namespace setzaiko {

QString ComponentRow::text(int column) const
{
    switch (column) {
    case componentcolumn::number:
        return formatNumber(RowNo, formats::digits3);
    case componentcolumn::name:
        return ProductName;
    case componentcolumn::code:
        return ProductCode;
    case componentcolumn::stock:
        return formatNumber(StockQty, formats::grouped9);
    case componentcolumn::unit:
        return Unit;
    case componentcolumn::perSet:
        return formatNumber(QtyPerSet, formats::grouped9);
    case componentcolumn::shipment:
        return formatNumber(PlannedShipment, formats::grouped9);
    case componentcolumn::shortage:
        return formatNumber(ShortageQty, formats::grouped9);
    case componentcolumn::sets:
        return formatNumber(SetsPossible, formats::digits6);
    case componentcolumn::needed:
        return formatNumber(StockNeeded, formats::digits6);
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
