#pragma once

#include "master/ComponentLookup.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <memory>

namespace setzaiko {

// The two master tables of a run and the component lookup over them. The lookup is made at
// its first use after the tables changed, over the code index each table keeps (which the
// import builds), and dropped with them.
class MasterData
{
public:
    MasterData() = default;
    MasterData(ProductMaster products, StockMaster stocks);
    ~MasterData();
    MasterData(const MasterData&) = delete;
    MasterData& operator=(const MasterData&) = delete;

    ProductMaster& products() { return m_products; }
    StockMaster& stocks() { return m_stocks; }
    const ProductMaster& products() const { return m_products; }
    const StockMaster& stocks() const { return m_stocks; }

    // The lookup for the tables as they stand. Only one thread at a time reads the tables
    // through it; the import, which writes them, does not run meanwhile.
    const ComponentLookup& componentLookup() const;

private:
    ProductMaster m_products;
    StockMaster m_stocks;
    mutable std::unique_ptr<ComponentLookup> m_lookup;
};

} // namespace setzaiko
