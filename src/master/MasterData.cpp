#include "master/MasterData.h"

#include <utility>

namespace setzaiko {

MasterData::MasterData(ProductMaster products, StockMaster stocks)
    : m_products(std::move(products)), m_stocks(std::move(stocks))
{}

MasterData::~MasterData() = default;

const ComponentLookup& MasterData::componentLookup() const
{
    if (!m_lookup || !m_lookup->isFor(m_products, m_stocks)) {
        // The old lookup points into the tables as they were: it goes before the new one is
        // built, so that the two are never held at once.
        m_lookup.reset();
        m_lookup = std::make_unique<ComponentLookup>(m_products, m_stocks);
    }
    return *m_lookup;
}

} // namespace setzaiko
