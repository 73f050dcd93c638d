#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// One product with its stock. SetFlag is exactly "1" for a set product.
struct StockMasterRow
{
    QString ProductCode;
    QString ProductName;
    QString Unit;
    QString SetFlag;
    std::int32_t StockQty = 0;
    std::int32_t ReservedQty = 0; // always 0
    QString Remarks;

    bool isSetProduct() const { return SetFlag == u"1"; }
};

} // namespace setzaiko
