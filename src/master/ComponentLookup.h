#pragma once

#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QStringView>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace setzaiko {

// The composition rows of every set code and the first stock row of every product code, in
// table order, built for one version of the two tables. Listing a set product then costs its
// own rows, not a pass over tens of thousands.
class ComponentLookup
{
public:
    ComponentLookup(const ProductMaster& products, const StockMaster& stocks);

    bool isFor(const ProductMaster& products, const StockMaster& stocks) const;

    // The product master rows of the set code, in table order; nullptr for none.
    const std::vector<std::int32_t>* compositionRows(QStringView setCode) const;
    // The first stock master row of the product code; -1 for none.
    std::int32_t firstStockRow(QStringView code) const;

private:
    struct ViewHash
    {
        std::size_t operator()(QStringView code) const;
    };

    std::uint64_t m_productsVersion;
    std::uint64_t m_stocksVersion;
    std::unordered_map<QStringView, std::vector<std::int32_t>, ViewHash> m_sets;
    std::unordered_map<QStringView, std::int32_t, ViewHash> m_stocks;
};

} // namespace setzaiko
