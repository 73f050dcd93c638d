#pragma once

#include "master/TableText.h"

#include <QString>

#include <cstdint>

namespace setzaiko {

// A product to append to the stock master, with texts of its own.
struct NewStockRow
{
    QString productCode;
    QString productName;
    QString unit;
    QString setFlag;
    std::int32_t stockQuantity = 0;
    std::int32_t reservedQuantity = 0;
    QString remarks;
};

// One product with its stock. setFlag is exactly "1" for a set product.
struct StockMasterRow
{
    TableText productCode;
    TableText productName;
    TableText unit;
    TableText setFlag;
    std::int32_t stockQuantity = 0;
    std::int32_t reservedQuantity = 0; // always 0
    TableText remarks;

    bool isSetProduct() const { return setFlag == u"1"; }

    static StockMasterRow from(NewStockRow row, TableTexts& texts)
    {
        return {texts.own(std::move(row.productCode)),
                texts.own(std::move(row.productName)),
                texts.own(std::move(row.unit)),
                texts.own(std::move(row.setFlag)),
                row.stockQuantity,
                row.reservedQuantity,
                texts.own(std::move(row.remarks))};
    }
};

} // namespace setzaiko
