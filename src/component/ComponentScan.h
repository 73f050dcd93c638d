#pragma once

#include "component/ComponentRow.h"
#include "master/MasterData.h"

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

// The row of a found component at place rowNo of the list: its stock figures and quantity per
// set, no shipment or shortage; the sets it allows are still to be worked out.
ComponentRow joinedRow(const ComponentLine& line, int rowNo);

// The composition lines of the set product whose code equals setCode exactly, in table order,
// each joined with the first stock row in table order whose code equals its component code,
// through the tables' component lookup.
std::vector<ComponentLine> findComponentLines(const QString& setCode, const MasterData& masters);

} // namespace setzaiko
