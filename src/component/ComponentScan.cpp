#include "component/ComponentScan.h"

#include <QStringView>

#include <memory>
#include <string_view>
#include <unordered_map>

namespace setzaiko {

namespace {

struct ViewHash
{
    std::size_t operator()(QStringView code) const
    {
        return std::hash<std::u16string_view>()(
            std::u16string_view(code.utf16(), static_cast<std::size_t>(code.size())));
    }
};

// The composition rows of every set code and the first stock row of every product code, in
// table order, built once for a version of the two tables. Listing a set product then costs
// its own rows, not a pass over tens of thousands.
class MasterLookup
{
public:
    MasterLookup(const ProductMaster& products, const StockMaster& stocks)
        : m_productsVersion(products.version()), m_stocksVersion(stocks.version())
    {
        m_sets.reserve(static_cast<std::size_t>(products.count()) / 4 + 1);
        for (std::int32_t i = 0; i < products.count(); ++i) {
            m_sets[QStringView(products.row(i).SetCode)].push_back(i);
        }
        m_stocks.reserve(static_cast<std::size_t>(stocks.count()));
        for (std::int32_t i = 0; i < stocks.count(); ++i) {
            // emplace keeps the first row of a code.
            m_stocks.emplace(QStringView(stocks.row(i).ProductCode), i);
        }
    }

    bool isFor(const ProductMaster& products, const StockMaster& stocks) const
    {
        return products.version() == m_productsVersion && stocks.version() == m_stocksVersion;
    }

    const std::vector<std::int32_t>* compositionRows(QStringView setCode) const
    {
        const auto found = m_sets.find(setCode);
        return found == m_sets.end() ? nullptr : &found->second;
    }

    std::int32_t firstStockRow(QStringView code) const
    {
        const auto found = m_stocks.find(code);
        return found == m_stocks.end() ? -1 : found->second;
    }

private:
    std::uint64_t m_productsVersion;
    std::uint64_t m_stocksVersion;
    std::unordered_map<QStringView, std::vector<std::int32_t>, ViewHash> m_sets;
    std::unordered_map<QStringView, std::int32_t, ViewHash> m_stocks;
};

// The lookup of the tables last listed from. The engine runs on the one user-interface
// thread; a lookup for other tables, or for changed ones, replaces it.
const MasterLookup& lookupFor(const ProductMaster& products, const StockMaster& stocks)
{
    static std::unique_ptr<MasterLookup> cached;
    if (!cached || !cached->isFor(products, stocks)) {
        cached.reset();
        cached = std::make_unique<MasterLookup>(products, stocks);
    }
    return *cached;
}

} // namespace

ComponentRow joinedRow(const ComponentLine& line, int rowNo)
{
    ComponentRow row;
    row.RowNo = rowNo;
    row.ProductName = line.stock->ProductName;
    row.ProductCode = line.stock->ProductCode;
    row.StockQty = line.stock->StockQty;
    row.Unit = line.stock->Unit;
    row.QtyPerSet = line.composition->ComponentQty;
    row.columnsWritten = 8;
    return row;
}

std::vector<ComponentLine> findComponentLines(const QString& setCode, const ProductMaster& products,
                                              const StockMaster& stocks)
{
    std::vector<ComponentLine> lines;
    const MasterLookup& lookup = lookupFor(products, stocks);
    const std::vector<std::int32_t>* rows = lookup.compositionRows(setCode);
    if (!rows) {
        return lines;
    }
    lines.reserve(rows->size());
    for (const std::int32_t i : *rows) {
        const ProductMasterRow& composition = products.row(i);
        const std::int32_t stock = lookup.firstStockRow(composition.ComponentCode);
        lines.push_back({&composition, stock < 0 ? nullptr : &stocks.row(stock)});
    }
    return lines;
}

} // namespace setzaiko
