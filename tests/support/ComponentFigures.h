#pragma once

#include "component/ComponentRow.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace setzaiko::testing {

// A component row's figures, for comparing a whole row at once: its place in the list, stock,
// quantity per set, planned shipment, shortage, sets possible and stock needed.
inline std::vector<std::int32_t> figuresOf(const ComponentRow& row)
{
    return {row.rowNumber, row.stockQuantity, row.quantityPerSet, row.plannedShipment,
            row.shortage,  row.setsPossible,  row.stockNeeded};
}

// What the row takes over from the stock master: the product's name, code and unit.
inline QStringList namesOf(const ComponentRow& row)
{
    return {row.productName, row.productCode, row.unit};
}

} // namespace setzaiko::testing
