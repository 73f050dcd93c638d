#include "component/ComponentListing.h"
#include "support/MasterRows.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

// Listings go through a lookup remembered between calls: every change of the tables, and
// every other pair of tables, must be seen at once.
TEST(ComponentLookup, FollowsEveryChangeOfTheTables)
{
    ProductMaster products;
    StockMaster stocks;
    products.append(compositionRow(u"S1"_s, u"P1"_s, 2));
    stocks.append(stockRow(u"P1"_s, 10));
    EXPECT_EQ(listComponents(u"S1"_s, products, stocks).rows.size(), 1u);

    products.append(compositionRow(u"S1"_s, u"P2"_s, 1));
    ComponentListing listing = listComponents(u"S1"_s, products, stocks);
    EXPECT_EQ(listing.listStatus, ListStatus::Incomplete); // P2 has no stock row yet

    stocks.append(stockRow(u"P2"_s, 3));
    listing = listComponents(u"S1"_s, products, stocks);
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.addableSets, 3);

    // A later row of the same code never wins.
    stocks.append(stockRow(u"P2"_s, 99));
    EXPECT_EQ(listComponents(u"S1"_s, products, stocks).rows[1].StockQty, 3);

    // Emptied and filled again to the same counts: a new import, new rows.
    products.empty();
    stocks.empty();
    products.append(compositionRow(u"S1"_s, u"P9"_s, 1));
    stocks.append(stockRow(u"P9"_s, 7));
    listing = listComponents(u"S1"_s, products, stocks);
    ASSERT_EQ(listing.rows.size(), 1u);
    EXPECT_EQ(listing.rows[0].ProductCode, u"P9"_s);
}

TEST(ComponentLookup, AnotherPairOfTablesIsNotConfusedWithTheLastOne)
{
    auto first = std::make_unique<std::pair<ProductMaster, StockMaster>>();
    first->first.append(compositionRow(u"S1"_s, u"P1"_s, 1));
    first->second.append(stockRow(u"P1"_s, 5));
    EXPECT_EQ(listComponents(u"S1"_s, first->first, first->second).addableSets, 5);
    first.reset();

    // Possibly at the very same addresses as the destroyed pair.
    auto second = std::make_unique<std::pair<ProductMaster, StockMaster>>();
    second->first.append(compositionRow(u"S1"_s, u"P1"_s, 1));
    second->second.append(stockRow(u"P1"_s, 8));
    EXPECT_EQ(listComponents(u"S1"_s, second->first, second->second).addableSets, 8);
}
