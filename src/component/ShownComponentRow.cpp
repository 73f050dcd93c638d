#include "component/ShownComponentRow.h"

namespace setzaiko {

void ShownComponentRow::show(const ComponentRow& row)
{
    for (int column = 0; column < row.columnsWritten; ++column) {
        m_shown.set(static_cast<std::size_t>(column));
        switch (column) {
        case componentcolumn::number:
            m_values.RowNo = row.RowNo;
            break;
        case componentcolumn::name:
            m_values.ProductName = row.ProductName;
            break;
        case componentcolumn::code:
            m_values.ProductCode = row.ProductCode;
            break;
        case componentcolumn::stock:
            m_values.StockQty = row.StockQty;
            break;
        case componentcolumn::unit:
            m_values.Unit = row.Unit;
            break;
        case componentcolumn::perSet:
            m_values.QtyPerSet = row.QtyPerSet;
            break;
        case componentcolumn::shipment:
            m_values.PlannedShipment = row.PlannedShipment;
            break;
        case componentcolumn::shortage:
            m_values.ShortageQty = row.ShortageQty;
            break;
        case componentcolumn::sets:
            m_values.SetsPossible = row.SetsPossible;
            break;
        case componentcolumn::needed:
            m_values.StockNeeded = row.StockNeeded;
            break;
        default:
            break;
        }
    }
}

QString ShownComponentRow::text(int column) const
{
    return isShown(column) ? m_values.text(column) : QString();
}

std::optional<CellColours> ShownComponentRow::shortageColours() const
{
    if (!isShown(shortageColumn)) {
        return std::nullopt;
    }
    return setzaiko::shortageColours(m_values.isShort());
}

std::optional<std::int32_t> ShownComponentRow::number(int column) const
{
    if (!isShown(column)) {
        return std::nullopt;
    }
    switch (column) {
    case componentcolumn::number:
        return m_values.RowNo;
    case componentcolumn::stock:
        return m_values.StockQty;
    case componentcolumn::perSet:
        return m_values.QtyPerSet;
    case componentcolumn::shipment:
        return m_values.PlannedShipment;
    case componentcolumn::shortage:
        return m_values.ShortageQty;
    case componentcolumn::sets:
        return m_values.SetsPossible;
    case componentcolumn::needed:
        return m_values.StockNeeded;
    default:
        return std::nullopt;
    }
}

} // namespace setzaiko
