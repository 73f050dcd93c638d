#pragma once

#include "master/ComponentLookup.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"

namespace setzaiko {

// The two master tables of one import, with their code indexes and the component lookup over
// them, all made when the tables are handed in and never changed after: any number of readers
// on any threads may share them.
class MasterData
{
public:
    MasterData();
    MasterData(ProductMaster products, StockMaster stocks);
    // The lookup points into the tables: they stay where they are.
    MasterData(const MasterData&) = delete;
    MasterData& operator=(const MasterData&) = delete;

    const ProductMaster& products() const { return m_products; }
    const StockMaster& stocks() const { return m_stocks; }
    const ComponentLookup& componentLookup() const { return m_lookup; }

private:
    ProductMaster m_products;
    StockMaster m_stocks;
    ComponentLookup m_lookup;
};

} // namespace setzaiko
