#include "master/ComponentLookup.h"

namespace setzaiko {

ComponentLookup::ComponentLookup(const ProductMaster& products, const StockMaster& stocks)
    : m_products(products), m_stocks(stocks)
{}

std::vector<std::int32_t> ComponentLookup::compositionRows(QStringView setCode) const
{
    std::vector<std::int32_t> rows;
    const RowIndex& index = m_products.codeIndex();
    for (std::int32_t row = m_products.firstRowOf(setCode); row >= 0; row = index.next(row)) {
        rows.push_back(row);
    }
    return rows;
}

std::int32_t ComponentLookup::firstStockRow(QStringView code) const
{
    return m_stocks.firstRowOf(code);
}

} // namespace setzaiko
