#include "component/ComponentListing.h"
#include "master/MasterData.h"
#include "support/MasterRows.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

// Listings go through the lookup the tables keep between calls: every change of the tables
// must be seen at once.
TEST(ComponentLookup, FollowsEveryChangeOfTheTables)
{
    MasterData masters;
    ProductMaster& products = masters.products();
    StockMaster& stocks = masters.stocks();
    products.append(compositionRow(u"S1"_s, u"P1"_s, 2));
    stocks.append(stockRow(u"P1"_s, 10));
    EXPECT_EQ(listComponents(u"S1"_s, masters).rows.size(), 1u);

    products.append(compositionRow(u"S1"_s, u"P2"_s, 1));
    ComponentListing listing = listComponents(u"S1"_s, masters);
    EXPECT_EQ(listing.listStatus, ListStatus::Incomplete); // P2 has no stock row yet

    stocks.append(stockRow(u"P2"_s, 3));
    listing = listComponents(u"S1"_s, masters);
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.addableSets, 3);

    // A later row of the same code never wins.
    stocks.append(stockRow(u"P2"_s, 99));
    EXPECT_EQ(listComponents(u"S1"_s, masters).rows[1].stockQuantity, 3);

    // Emptied and filled again to the same counts: a new import, new rows.
    products.empty();
    stocks.empty();
    products.append(compositionRow(u"S1"_s, u"P9"_s, 1));
    stocks.append(stockRow(u"P9"_s, 7));
    listing = listComponents(u"S1"_s, masters);
    ASSERT_EQ(listing.rows.size(), 1u);
    EXPECT_EQ(listing.rows[0].productCode, u"P9"_s);
}

TEST(ComponentLookup, EachPairOfTablesHasItsOwn)
{
    auto first = std::make_unique<MasterData>(productTable({compositionRow(u"S1"_s, u"P1"_s, 1)}),
                                              stockTable({stockRow(u"P1"_s, 5)}));
    const MasterData second(productTable({compositionRow(u"S1"_s, u"P1"_s, 1)}),
                            stockTable({stockRow(u"P1"_s, 8)}));
    EXPECT_EQ(listComponents(u"S1"_s, *first).addableSets, 5);
    EXPECT_EQ(listComponents(u"S1"_s, second).addableSets, 8);
    EXPECT_EQ(listComponents(u"S1"_s, *first).addableSets, 5);
    first.reset();

    // Possibly at the very same address as the destroyed tables.
    const auto third = std::make_unique<MasterData>(
        productTable({compositionRow(u"S1"_s, u"P1"_s, 1)}), stockTable({stockRow(u"P1"_s, 9)}));
    EXPECT_EQ(listComponents(u"S1"_s, *third).addableSets, 9);
}
