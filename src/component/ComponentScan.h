#pragma once

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
// One pass over each table, whatever the number of components.
std::vector<ComponentLine> findComponentLines(const QString& setCode, const ProductMaster& products,
                                              const StockMaster& stocks);

} // namespace setzaiko
