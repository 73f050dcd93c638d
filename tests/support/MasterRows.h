#pragma once

#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace setzaiko::testing {

// Master tables built in memory, with only the fields the readers use filled in.

inline NewStockRow stockRow(const QString& code, std::int32_t stock, const QString& name = {},
                            const QString& flag = {}, const QString& unit = {},
                            const QString& remarks = {})
{
    NewStockRow row;
    row.productCode = code;
    row.productName = name;
    row.unit = unit;
    row.setFlag = flag;
    row.stockQuantity = stock;
    row.remarks = remarks;
    return row;
}

inline NewProductRow compositionRow(const QString& setCode, const QString& componentCode,
                                    std::int32_t perSet)
{
    NewProductRow row;
    row.setCode = setCode;
    row.componentCode = componentCode;
    row.quantityPerSet = perSet;
    return row;
}

inline StockMaster stockTable(const std::vector<NewStockRow>& rows)
{
    StockMaster table;
    for (const NewStockRow& row : rows) {
        table.append(row);
    }
    // Indexed as the import leaves a table it has read to its end.
    table.buildCodeIndex();
    return table;
}

inline ProductMaster productTable(const std::vector<NewProductRow>& rows)
{
    ProductMaster table;
    for (const NewProductRow& row : rows) {
        table.append(row);
    }
    // Indexed as the import leaves a table it has read to its end.
    table.buildCodeIndex();
    return table;
}

} // namespace setzaiko::testing
