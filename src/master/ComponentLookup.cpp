#include "master/ComponentLookup.h"

#include <functional>
#include <string_view>

namespace setzaiko {

std::size_t ComponentLookup::ViewHash::operator()(QStringView code) const
{
    return std::hash<std::u16string_view>()(
        std::u16string_view(code.utf16(), static_cast<std::size_t>(code.size())));
}

ComponentLookup::ComponentLookup(const ProductMaster& products, const StockMaster& stocks)
    : m_productsVersion(products.version()), m_stocksVersion(stocks.version())
{
    m_sets.reserve(static_cast<std::size_t>(products.count()) / 4 + 1);
    for (std::int32_t i = 0; i < products.count(); ++i) {
        m_sets[QStringView(products.row(i).setCode)].push_back(i);
    }
    m_stocks.reserve(static_cast<std::size_t>(stocks.count()));
    for (std::int32_t i = 0; i < stocks.count(); ++i) {
        // emplace keeps the first row of a code.
        m_stocks.emplace(QStringView(stocks.row(i).productCode), i);
    }
}

bool ComponentLookup::isFor(const ProductMaster& products, const StockMaster& stocks) const
{
    return products.version() == m_productsVersion && stocks.version() == m_stocksVersion;
}

const std::vector<std::int32_t>* ComponentLookup::compositionRows(QStringView setCode) const
{
    const auto found = m_sets.find(setCode);
    return found == m_sets.end() ? nullptr : &found->second;
}

std::int32_t ComponentLookup::firstStockRow(QStringView code) const
{
    const auto found = m_stocks.find(code);
    return found == m_stocks.end() ? -1 : found->second;
}

} // namespace setzaiko
