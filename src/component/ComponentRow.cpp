#include "component/ComponentRow.h"

#include "common/NumberFormat.h"

namespace setzaiko {

QString ComponentRow::text(int column) const
{
    switch (column) {
    case 0:
        return formatNumber(RowNo, formats::digits3);
    case 1:
        return ProductName;
    case 2:
        return ProductCode;
    case 3:
        return formatNumber(StockQty, formats::grouped9);
    case 4:
        return Unit;
    case 5:
        return formatNumber(QtyPerSet, formats::grouped9);
    case 6:
        return formatNumber(PlannedShipment, formats::grouped9);
    case 7:
        return formatNumber(ShortageQty, formats::grouped9);
    case 8:
        return formatNumber(SetsPossible, formats::digits6);
    case 9:
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
