#pragma once

#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace setzaiko::testing {

// Every field of every row, so that two imports can be compared row by row.
inline QStringList fieldsOf(const ProductMasterRow& r)
{
    return {r.setCode, r.f3Text,        r.f4Text, r.f5Text,
            r.f6Text,  r.componentCode, r.f8Text, QString::number(r.quantityPerSet),
            r.f10Text};
}

inline QStringList fieldsOf(const StockMasterRow& r)
{
    return {r.productCode,
            r.productName,
            r.unit,
            r.setFlag,
            QString::number(r.stockQuantity),
            QString::number(r.reservedQuantity),
            r.remarks};
}

template <typename Table>
void expectSameTable(const Table& a, const Table& b)
{
    ASSERT_EQ(a.count(), b.count());
    for (std::int32_t i = 0; i < a.count(); ++i) {
        ASSERT_EQ(fieldsOf(a.row(i)), fieldsOf(b.row(i))) << "row " << i;
    }
}

} // namespace setzaiko::testing
