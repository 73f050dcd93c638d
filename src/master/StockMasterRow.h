#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// One product with its stock. setFlag is exactly "1" for a set product.
struct StockMasterRow
{
    QString productCode;
    QString productName;
    QString unit;
    QString setFlag;
    std::int32_t stockQuantity = 0;
    std::int32_t reservedQuantity = 0; // always 0
    QString remarks;

    bool isSetProduct() const { return setFlag == u"1"; }
};

} // namespace setzaiko
