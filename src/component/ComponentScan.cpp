#include "component/ComponentScan.h"

#include <QStringView>

#include <string_view>
#include <unordered_map>

namespace setzaiko {

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
    // Keyed by views of the composition rows' codes, which outlive the map; hashed with the
    // standard library's byte hash, several times cheaper than QString's seeded one, which
    // matters when every stock row's code is looked up.
    struct ViewHash
    {
        std::size_t operator()(QStringView code) const
        {
            return std::hash<std::u16string_view>()(
                std::u16string_view(code.utf16(), static_cast<std::size_t>(code.size())));
        }
    };
    std::unordered_map<QStringView, const StockMasterRow*, ViewHash> wanted;
    for (std::int32_t i = 0; i < products.count(); ++i) {
        const ProductMasterRow& row = products.row(i);
        if (row.SetCode == setCode) {
            lines.push_back({&row, nullptr});
            wanted.emplace(QStringView(row.ComponentCode), nullptr);
        }
    }
    if (lines.empty()) {
        return lines;
    }
    // The first row of a code wins; the pass ends once every wanted code is found.
    std::size_t missing = wanted.size();
    for (std::int32_t i = 0; i < stocks.count() && missing > 0; ++i) {
        const StockMasterRow& row = stocks.row(i);
        const auto found = wanted.find(QStringView(row.ProductCode));
        if (found != wanted.end() && found->second == nullptr) {
            found->second = &row;
            --missing;
        }
    }
    for (ComponentLine& line : lines) {
        line.stock = wanted.at(QStringView(line.composition->ComponentCode));
    }
    return lines;
}

} // namespace setzaiko
