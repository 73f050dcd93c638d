#include "component/ShownComponentRow.h"

namespace setzaiko {

void ShownComponentRow::show(const ComponentRow& row)
{
    for (int column = 0; column < row.columnsWritten; ++column) {
        m_shown.set(static_cast<std::size_t>(column));
        switch (column) {
        case componentcolumn::number:
            m_values.rowNumber = row.rowNumber;
            break;
        case componentcolumn::name:
            m_values.productName = row.productName;
            break;
        case componentcolumn::code:
            m_values.productCode = row.productCode;
            break;
        case componentcolumn::stock:
            m_values.stockQuantity = row.stockQuantity;
            break;
        case componentcolumn::unit:
            m_values.unit = row.unit;
            break;
        case componentcolumn::perSet:
            m_values.quantityPerSet = row.quantityPerSet;
            break;
        case componentcolumn::shipment:
            m_values.plannedShipment = row.plannedShipment;
            break;
        case componentcolumn::shortage:
            m_values.shortage = row.shortage;
            break;
        case componentcolumn::sets:
            m_values.setsPossible = row.setsPossible;
            break;
        case componentcolumn::needed:
            m_values.stockNeeded = row.stockNeeded;
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
        return m_values.rowNumber;
    case componentcolumn::stock:
        return m_values.stockQuantity;
    case componentcolumn::perSet:
        return m_values.quantityPerSet;
    case componentcolumn::shipment:
        return m_values.plannedShipment;
    case componentcolumn::shortage:
        return m_values.shortage;
    case componentcolumn::sets:
        return m_values.setsPossible;
    case componentcolumn::needed:
        return m_values.stockNeeded;
    default:
        return std::nullopt;
    }
}

} // namespace setzaiko
