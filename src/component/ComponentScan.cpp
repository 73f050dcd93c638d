#include "component/ComponentScan.h"

namespace setzaiko {

ComponentRow joinedRow(const ComponentLine& line, int rowNo)
{
    ComponentRow row;
    row.rowNumber = rowNo;
    row.productName = line.stock->productName;
    row.productCode = line.stock->productCode;
    row.stockQuantity = line.stock->stockQuantity;
    row.unit = line.stock->unit;
    row.quantityPerSet = line.composition->quantityPerSet;
    return row;
}

std::vector<ComponentLine> findComponentLines(const QString& setCode, const MasterData& masters)
{
    std::vector<ComponentLine> lines;
    const ProductMaster& products = masters.products();
    const StockMaster& stocks = masters.stocks();
    const ComponentLookup& lookup = masters.componentLookup();
    const std::vector<std::int32_t> rows = lookup.compositionRows(setCode);
    lines.reserve(rows.size());
    for (const std::int32_t i : rows) {
        const ProductMasterRow& composition = products.row(i);
        const std::int32_t stock = lookup.firstStockRow(composition.componentCode);
        lines.push_back({&composition, stock < 0 ? nullptr : &stocks.row(stock)});
    }
    return lines;
}

} // namespace setzaiko
