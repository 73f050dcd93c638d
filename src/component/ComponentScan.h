#pragma once

#include "component/ComponentRow.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QString>

#include <vector>

namespace setzaiko {

// One composition line of a set product with the first stock row of its component, or
// nullptr where the stock master has none.
struct ComponentLine
{
    const ProductMasterRow* composition = nullptr;
    const StockMasterRow* stock = nullptr;
};

// The composition lines of the set product whose code equals setCode exactly, in table order,
// each joined with the first stock row in table order whose code equals its component code.
// The lookup behind it is built once for each version of the two tables.
// The joined columns 0 to 5 of a found component, as grid row rowNo shows them; columns 6
// and 7 hold 0 and the rest is still to be worked out.
ComponentRow joinedRow(const ComponentLine& line, int rowNo);

std::vector<ComponentLine> findComponentLines(const QString& setCode, const ProductMaster& products,
                                              const StockMaster& stocks);

} // namespace setzaiko
