#include "component/ComponentScan.h"

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

std::vector<ComponentLine> findComponentLines(const QString& setCode, const MasterData& masters)
{
    std::vector<ComponentLine> lines;
    const ProductMaster& products = masters.products();
    const StockMaster& stocks = masters.stocks();
    const ComponentLookup& lookup = masters.componentLookup();
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
