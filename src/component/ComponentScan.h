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

// The composition lines of the set product whose code equals setCode exactly, in table order,
// each joined with the first stock row in table order whose code equals its component code.
// The joined columns 0 to 5 of a found component, as grid row rowNo shows them; columns 6
// and 7 hold 0 and the rest is still to be worked out.
ComponentRow joinedRow(const ComponentLine& line, int rowNo);

// The composition lines go through the tables' component lookup.
std::vector<ComponentLine> findComponentLines(const QString& setCode, const MasterData& masters);

} // namespace setzaiko
