#pragma once

#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QStringView>

#include <cstdint>
#include <vector>

namespace setzaiko {

// The composition rows of every set code and the first stock row of every product code, in
// table order, through the code index each table keeps. Listing a set product then costs its
// own rows, not a pass over tens of thousands. The tables outlive the lookup and never change.
class ComponentLookup
{
public:
    ComponentLookup(const ProductMaster& products, const StockMaster& stocks);

    // The product master rows of the set code, in table order; empty for none.
    std::vector<std::int32_t> compositionRows(QStringView setCode) const;
    // The first stock master row of the product code; -1 for none.
    std::int32_t firstStockRow(QStringView code) const;

private:
    const ProductMaster& m_products;
    const StockMaster& m_stocks;
};

} // namespace setzaiko
