#include "component/SetAvailability.h"
#include "import/ImportRun.h"
#include "master/MasterData.h"
#include "support/MasterRows.h"
#include "support/MemoryWorkbook.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

// Listings go through the lookup made with the tables: it stands for every row they hold.
TEST(ComponentLookup, FindsEveryRowOfTheTablesItWasMadeWith)
{
    ProductMaster products;
    StockMaster stocks;
    products.append(compositionRow(u"S1"_s, u"P1"_s, 2));
    stocks.append(stockRow(u"P1"_s, 10));
    EXPECT_EQ(listComponents(u"S1"_s, MasterData(products, stocks)).rows.size(), 1u);

    products.append(compositionRow(u"S1"_s, u"P2"_s, 1));
    SetAvailability listing = listComponents(u"S1"_s, MasterData(products, stocks));
    EXPECT_EQ(listing.listStatus, ListStatus::Incomplete); // P2 has no stock row yet

    stocks.append(stockRow(u"P2"_s, 3));
    listing = listComponents(u"S1"_s, MasterData(products, stocks));
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.addableSets, 3);

    // A later row of the same code never wins.
    stocks.append(stockRow(u"P2"_s, 99));
    EXPECT_EQ(listComponents(u"S1"_s, MasterData(products, stocks)).rows[1].stockQuantity, 3);

    // Tables indexed before their last rows came: the lookup still finds those rows.
    products.empty();
    stocks.empty();
    products.buildCodeIndex();
    products.append(compositionRow(u"S1"_s, u"P9"_s, 1));
    stocks.append(stockRow(u"P9"_s, 7));
    listing = listComponents(u"S1"_s, MasterData(products, stocks));
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

// Two imports, each table holding one row both times: the set of the second book finds its
// own component, through the code indexes the import builds, and the first book, still held
// by whoever was given it, keeps its own rows.
TEST(ComponentLookup, ASecondImportLeavesTheFirstBookAsItWas)
{
    const auto book = [](const QString& set, const QString& component, double stock) {
        const CellValue x = text(u"x"_s);
        return std::vector<MemoryTable>{
            {u"商品マスタ"_s,
             10,
             {{text(u"○"_s), text(set), x, x, x, x, text(component), x, number(2), x}}},
            {u"在庫マスタ"_s,
             8,
             {{text(u"○"_s), text(component), x, x, empty(), number(stock), x, x}}},
        };
    };
    MemoryWorkbookOpener opener(book(u"S1"_s, u"P1"_s, 10));
    const ImportResult first = runImport(u"one.xls"_s, opener);
    ASSERT_EQ(first.outcome, ImportResult::Outcome::Success);
    EXPECT_EQ(listComponents(u"S1"_s, first.book->masters()).addableSets, 5);

    opener.tables = book(u"S2"_s, u"P2"_s, 8);
    const ImportResult second = runImport(u"two.xls"_s, opener);
    ASSERT_EQ(second.outcome, ImportResult::Outcome::Success);
    const SetAvailability listing = listComponents(u"S2"_s, second.book->masters());
    ASSERT_EQ(listing.rows.size(), 1u);
    EXPECT_EQ(listing.rows[0].productCode, u"P2"_s);
    EXPECT_EQ(listing.addableSets, 4);
    EXPECT_TRUE(listComponents(u"S1"_s, second.book->masters()).rows.empty());

    EXPECT_EQ(listComponents(u"S1"_s, first.book->masters()).addableSets, 5);
    EXPECT_TRUE(listComponents(u"S2"_s, first.book->masters()).rows.empty());
}
