#include "component/ComponentScan.h"

#include <QHash>

namespace setzaiko {

std::vector<ComponentLine> findComponentLines(const QString& setCode, const ProductMaster& products,
                                              const StockMaster& stocks)
{
    std::vector<ComponentLine> lines;
    QHash<QString, const StockMasterRow*> wanted;
    for (std::int32_t i = 0; i < products.count(); ++i) {
        const ProductMasterRow& row = products.row(i);
        if (row.SetCode == setCode) {
            lines.push_back({&row, nullptr});
            wanted.insert(row.ComponentCode, nullptr);
        }
    }
    if (lines.empty()) {
        return lines;
    }
    // The first row of a code wins; the pass ends once every wanted code is found.
    qsizetype missing = wanted.size();
    for (std::int32_t i = 0; i < stocks.count() && missing > 0; ++i) {
        const StockMasterRow& row = stocks.row(i);
        const auto found = wanted.find(row.ProductCode);
        if (found != wanted.end() && *found == nullptr) {
            *found = &row;
            --missing;
        }
    }
    for (ComponentLine& line : lines) {
        line.stock = wanted.value(line.composition->ComponentCode);
    }
    return lines;
}

} // namespace setzaiko
