#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

TEST(MasterTable, StartsEmptyAndKeepsAppendOrder)
{
    StockMaster stocks;
    EXPECT_EQ(stocks.count(), 0);
    for (int i = 0; i < 3; ++i) {
        StockMasterRow row;
        row.ProductCode = u"P%1"_s.arg(i);
        stocks.append(row);
    }
    ASSERT_EQ(stocks.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stocks.row(i).ProductCode, u"P%1"_s.arg(i));
    }
}

TEST(MasterTable, EmptyingLeavesNothingReadable)
{
    ProductMaster products;
    products.append(ProductMasterRow{u"S1"_s, {}, {}, {}, {}, u"P1"_s, {}, 2, {}});
    products.append(ProductMasterRow{u"S1"_s, {}, {}, {}, {}, u"P2"_s, {}, 3, {}});
    products.empty();
    EXPECT_EQ(products.count(), 0);
    products.append(ProductMasterRow{u"S2"_s, {}, {}, {}, {}, u"P3"_s, {}, 4, {}});
    ASSERT_EQ(products.count(), 1);
    EXPECT_EQ(products.row(0).ComponentCode, u"P3"_s);
}

TEST(MasterTable, CountIsNotLimitedTo16Bits)
{
    StockMaster stocks;
    for (int i = 0; i < 70000; ++i) {
        stocks.append({});
    }
    EXPECT_EQ(stocks.count(), 70000);
}

TEST(StockMasterRow, OnlyExactlyOneMarksASetProduct)
{
    const struct
    {
        QString flag;
        bool set;
    } cases[] = {{u"1"_s, true},     {u" 1"_s, false}, {u"01"_s, false}, {u"１"_s, false},
                 {QString(), false}, {u"0"_s, false},  {u"11"_s, false}};
    for (const auto& c : cases) {
        StockMasterRow row;
        row.SetFlag = c.flag;
        EXPECT_EQ(row.isSetProduct(), c.set) << c.flag.toStdString();
    }
}
