#pragma once

#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace setzaiko::testing {

// Every field of every row, so that two imports can be compared row by row.
inline QStringList fieldsOf(const ProductMasterRow& r)
{
    return {r.SetCode, r.F3Text,        r.F4Text, r.F5Text,
            r.F6Text,  r.ComponentCode, r.F8Text, QString::number(r.ComponentQty),
            r.F10Text};
}

inline QStringList fieldsOf(const StockMasterRow& r)
{
    return {r.ProductCode,
            r.ProductName,
            r.Unit,
            r.SetFlag,
            QString::number(r.StockQty),
            QString::number(r.ReservedQty),
            r.Remarks};
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
