#include "master/MasterData.h"

#include <utility>

namespace setzaiko {

MasterData::MasterData() : MasterData(ProductMaster(), StockMaster()) {}

MasterData::MasterData(ProductMaster products, StockMaster stocks)
    : m_products(std::move(products)), m_stocks(std::move(stocks)), m_lookup(m_products, m_stocks)
{
    // The import indexes each table it read to the end; a table a failure cut short, or one
    // made some other way, is indexed here.
    if (!m_products.hasCodeIndex()) {
        m_products.buildCodeIndex();
    }
    if (!m_stocks.hasCodeIndex()) {
        m_stocks.buildCodeIndex();
    }
}

} // namespace setzaiko
