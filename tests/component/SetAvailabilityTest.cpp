#include "component/SetAvailability.h"

#include "common/NumberFormat.h"
#include "screen/ComponentCells.h"
#include "screen/ComponentTexts.h"
#include "support/MasterRows.h"
#include "support/RecordingGrid.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::compositionRow;
using testing::productTable;
using testing::RecordingGrid;
using testing::stockRow;
using testing::stockTable;

QStringList textsOf(const ComponentRow& row)
{
    QStringList texts;
    for (int column = 0; column < componentcolumn::count; ++column) {
        texts << componentCellText(row, column);
    }
    return texts;
}

QStringList codesOf(const SetAvailability& listing)
{
    QStringList codes;
    for (const ComponentRow& row : listing.rows) {
        codes << row.productCode;
    }
    return codes;
}

TEST(SetAvailability, JoinsEachComponentWithItsStockAndTheSetsItAllows)
{
    const StockMaster stocks = stockTable({
        stockRow(u"S1"_s, 30, u"セット"_s, u"1"_s, u"箱"_s),
        stockRow(u"P1"_s, 7, u"部品1"_s, {}, u"個"_s),
        stockRow(u"P2"_s, 5, u"部品2"_s, {}, u"個"_s),
        stockRow(u"P3"_s, -7, u"部品3"_s, {}, u"個"_s),
        stockRow(u"P4"_s, 1234, u"部品4"_s, {}, u"本"_s),
    });
    // The rows of one set need not be adjacent.
    const ProductMaster products = productTable({
        compositionRow(u"S1"_s, u"P1"_s, 2),
        compositionRow(u"S2"_s, u"P1"_s, 1),
        compositionRow(u"S1"_s, u"P2"_s, 10),
        compositionRow(u"S1"_s, u"P3"_s, 2),
        compositionRow(u"S2"_s, u"P2"_s, 1),
        compositionRow(u"S1"_s, u"P4"_s, 1000),
    });
    const SetAvailability listing = listComponents(u"S1"_s, MasterData(products, stocks));

    ASSERT_EQ(listing.rows.size(), 4u);
    const QStringList expected[] = {
        {u"1"_s, u"部品1"_s, u"P1"_s, u"7"_s, u"個"_s, u"2"_s, u"0"_s, u"0"_s, u"3"_s, u"6"_s},
        {u"2"_s, u"部品2"_s, u"P2"_s, u"5"_s, u"個"_s, u"10"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s},
        {u"3"_s, u"部品3"_s, u"P3"_s, u"-7"_s, u"個"_s, u"2"_s, u"0"_s, u"0"_s, u"-3"_s, u"-6"_s},
        {u"4"_s, u"部品4"_s, u"P4"_s, u"1,234"_s, u"本"_s, u"1,000"_s, u"0"_s, u"0"_s, u"1"_s,
         u"1000"_s},
    };
    RecordingGrid grid;
    grid.write(listing.rows);
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(r + 1);
        EXPECT_EQ(textsOf(listing.rows[r]), expected[r]);
        for (int column = 0; column < componentcolumn::count; ++column) {
            EXPECT_EQ(grid.text(r + 1, column), expected[r][column]);
        }
        EXPECT_EQ(grid.role(r + 1, componentcolumn::shortage), CellRole::Plain);
    }
    EXPECT_EQ(listing.listStatus, ListStatus::Complete);
    EXPECT_FALSE(listing.capacityExceeded);
    EXPECT_FALSE(listing.failed);
    EXPECT_TRUE(listingMessage(listing).isEmpty());
    EXPECT_EQ(listing.addableSets, -3);
}

TEST(SetAvailability, AddableSetsIsTheSmallestFigureOfTheListedRows)
{
    struct Component
    {
        std::int32_t stock;
        std::int32_t perSet;
    };
    struct Case
    {
        std::vector<Component> components;
        QString knousu;
        QString firstSetsPossible;
        QStringList limiting; // the rows that decide it, by their code
    };
    const Case cases[] = {
        {{{1234567, 1}}, u"1,234,567"_s, u"1234567"_s, {u"P0"_s}},
        // Ties all decide; a row that merely has the same stock does not.
        {{{24, 2}, {3, 1}, {7, 2}, {3, 3}}, u"1"_s, u"12"_s, {u"P3"_s}},
        {{{24, 2}, {3, 1}, {7, 2}}, u"3"_s, u"12"_s, {u"P1"_s, u"P2"_s}},
        {{{-7, 2}, {100, 1}}, u"-3"_s, u"-3"_s, {u"P0"_s}},
        // Figures that only a table left by a failed import can hold still count as listed.
        {{{999'999'999, 1}}, u"999,999,999"_s, u"999999999"_s, {u"P0"_s}},
        {{{std::numeric_limits<std::int32_t>::max(), 1}},
         u"2,147,483,647"_s,
         u"2147483647"_s,
         {u"P0"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.knousu.toStdString());
        StockMaster stocks;
        ProductMaster products;
        for (const Component& component : c.components) {
            const QString code = u"P%1"_s.arg(stocks.count());
            stocks.append(stockRow(code, component.stock));
            products.append(compositionRow(u"S1"_s, code, component.perSet));
        }
        const SetAvailability listing = listComponents(u"S1"_s, MasterData(products, stocks));
        EXPECT_EQ(listing.listStatus, ListStatus::Complete);
        EXPECT_TRUE(listingMessage(listing).isEmpty());
        EXPECT_EQ(formatNumber(listing.addableSets, formats::grouped9), c.knousu);
        EXPECT_EQ(componentCellText(listing.rows.front(), componentcolumn::sets),
                  c.firstSetsPossible);
        QStringList limiting;
        for (const QString& code : listing.limitingCodes()) {
            limiting << code;
        }
        EXPECT_EQ(limiting, c.limiting);
        for (const ComponentRow& row : listing.rows) {
            EXPECT_EQ(listing.limitsAddable(row), c.limiting.contains(row.productCode));
        }
    }
}

TEST(SetAvailability, OnlyACompleteListingHasLimitingRowsAndACodeCountsOnce)
{
    const StockMaster stocks = stockTable({stockRow(u"P1"_s, 4), stockRow(u"P2"_s, 9)});
    const ProductMaster products = productTable({
        compositionRow(u"S1"_s, u"P1"_s, 2),
        compositionRow(u"S1"_s, u"P2"_s, 1),
        compositionRow(u"S1"_s, u"P1"_s, 2),
        compositionRow(u"S2"_s, u"P1"_s, 2),
        compositionRow(u"S2"_s, u"PX"_s, 1),
    });
    const MasterData masters(products, stocks);
    EXPECT_EQ(listComponents(u"S1"_s, masters).limitingCodes(), std::vector<QString>{u"P1"_s});
    const SetAvailability incomplete = listComponents(u"S2"_s, masters);
    ASSERT_EQ(incomplete.rows.size(), 1u);
    EXPECT_TRUE(incomplete.limitingCodes().empty());
    EXPECT_FALSE(incomplete.limitsAddable(incomplete.rows.front()));
}

TEST(SetAvailability, MissingAndSurplusComponentsSetTheStatusAndMessage)
{
    // Codes starting with M are not in the stock master.
    const auto found = [](const QString& prefix, int count) {
        QStringList codes;
        for (int i = 1; i <= count; ++i) {
            codes << prefix + QString::number(i);
        }
        return codes;
    };
    struct Case
    {
        const char* name;
        QString caption;
        QStringList components;
        ListStatus status;
        QStringView message;
        int rows;
        bool box;
    };
    const QStringView none = componenttexts::noComponents;
    const QStringView missing = componenttexts::missingComponent;
    const QStringView tooMany = componenttexts::tooManyComponents;
    const Case cases[] = {
        {"no composition", u"S9"_s, {u"P1"_s}, ListStatus::Incomplete, none, 0, false},
        {"empty set code", u""_s, {u"P1"_s}, ListStatus::Incomplete, none, 0, false},
        {"all missing", u"S1"_s, {u"M1"_s, u"M2"_s}, ListStatus::Incomplete, none, 0, false},
        {"one missing",
         u"S1"_s,
         {u"P1"_s, u"M1"_s, u"P3"_s},
         ListStatus::Incomplete,
         missing,
         2,
         false},
        {"exactly 100", u"S1"_s, found(u"P"_s, 100), ListStatus::Complete, {}, 100, false},
        {"100 and a missing one", u"S1"_s, found(u"P"_s, 100) << u"M1"_s, ListStatus::Incomplete,
         missing, 100, false},
        {"missing ones do not count", u"S1"_s, found(u"P"_s, 50) << u"M1"_s << found(u"Q"_s, 50),
         ListStatus::Incomplete, missing, 100, false},
        {"101 after a missing one", u"S1"_s, QStringList{u"M1"_s} << found(u"P"_s, 101),
         ListStatus::Truncated, tooMany, 100, true},
        // The capacity check comes before the 101st row's figures are worked out.
        {"101st with 0 per set", u"S1"_s, found(u"P"_s, 100) << u"Z"_s, ListStatus::Truncated,
         tooMany, 100, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StockMaster stocks;
        ProductMaster products;
        for (const QString& code : c.components) {
            if (!code.startsWith(u'M')) {
                stocks.append(stockRow(code, 10, code + u"名"_s));
            }
            products.append(compositionRow(u"S1"_s, code, code == u"Z"_s ? 0 : 1));
        }
        const SetAvailability listing = listComponents(c.caption, MasterData(products, stocks));

        EXPECT_EQ(listing.listStatus, c.status);
        EXPECT_EQ(listingMessage(listing), c.message.toString());
        EXPECT_EQ(listing.capacityExceeded, c.box);
        EXPECT_FALSE(listing.failed);
        ASSERT_EQ(static_cast<int>(listing.rows.size()), c.rows);
        EXPECT_EQ(listing.addableSets, c.status == ListStatus::Complete ? 10 : 0);
        QStringList expectedCodes;
        for (const QString& code : c.components) {
            if (!code.startsWith(u'M') && expectedCodes.size() < c.rows) {
                expectedCodes << code;
            }
        }
        EXPECT_EQ(codesOf(listing), expectedCodes);
        for (std::size_t i = 0; i < listing.rows.size(); ++i) {
            EXPECT_EQ(listing.rows[i].rowNumber, static_cast<int>(i) + 1);
        }
    }
}

TEST(SetAvailability, SetCodeIsComparedExactlyAfterTrimmingTheCaption)
{
    const StockMaster stocks = stockTable({stockRow(u"P1"_s, 1), stockRow(u"Q1"_s, 1)});
    const ProductMaster products = productTable({
        compositionRow(u"S1"_s, u"P1"_s, 1),
        compositionRow(u"S1 "_s, u"Q1"_s, 1), // compared as stored
    });
    struct Case
    {
        QString caption;
        QStringList codes;
    };
    const Case cases[] = {
        {u"S1"_s, {u"P1"_s}},  {u"S1   "_s, {u"P1"_s}}, {u"S1　"_s, {u"P1"_s}},
        {u"S1 "_s, {u"P1"_s}}, {u" S1"_s, {}},          {u"s1"_s, {}},
        {u"S"_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        EXPECT_EQ(codesOf(listComponents(c.caption, MasterData(products, stocks))), c.codes);
    }
}

TEST(SetAvailability, FirstStockRowOfACodeWinsAndRepeatedComponentsListTwice)
{
    const StockMaster stocks = stockTable({
        stockRow(u"P1"_s, 10, u"first"_s),
        stockRow(u"P1"_s, 99, u"second"_s),
        stockRow(u"P2"_s, 40, u"other"_s),
    });
    const ProductMaster products = productTable({
        compositionRow(u"S1"_s, u"P1"_s, 1),
        compositionRow(u"S1"_s, u"P1"_s, 2),
        compositionRow(u"S1"_s, u"P2"_s, 1),
    });
    const SetAvailability listing = listComponents(u"S1"_s, MasterData(products, stocks));
    EXPECT_EQ(listing.listStatus, ListStatus::Complete);
    ASSERT_EQ(listing.rows.size(), 3u);
    EXPECT_EQ(textsOf(listing.rows[0]).mid(0, 6),
              (QStringList{u"1"_s, u"first"_s, u"P1"_s, u"10"_s, u""_s, u"1"_s}));
    EXPECT_EQ(textsOf(listing.rows[1]).mid(0, 6),
              (QStringList{u"2"_s, u"first"_s, u"P1"_s, u"10"_s, u""_s, u"2"_s}));
    EXPECT_EQ(listing.addableSets, 5);
}

TEST(SetAvailability, RunTimeFailureStopsWithThePartialRowInPlace)
{
    struct Case
    {
        const char* name;
        std::int32_t stock;
        std::int32_t perSet;
    };
    const Case cases[] = {
        {"0 per set", 5, 0},
        {"quotient beyond 32 bits", std::numeric_limits<std::int32_t>::min(), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StockMaster stocks = stockTable({
            stockRow(u"P1"_s, 7, u"部品1"_s),
            stockRow(u"P2"_s, c.stock, u"部品2"_s, {}, u"個"_s),
            stockRow(u"P3"_s, 1, u"部品3"_s),
        });
        const ProductMaster products = productTable({
            compositionRow(u"S1"_s, u"P1"_s, 2),
            compositionRow(u"S1"_s, u"P2"_s, c.perSet),
            compositionRow(u"S1"_s, u"P3"_s, 1),
        });
        const SetAvailability listing = listComponents(u"S1"_s, MasterData(products, stocks));

        EXPECT_TRUE(listing.failed);
        EXPECT_EQ(listing.listStatus, ListStatus::Failed);
        EXPECT_TRUE(listingMessage(listing).isEmpty());
        ASSERT_EQ(listing.rows.size(), 2u);
        EXPECT_TRUE(listing.rows[0].isWhole());
        EXPECT_EQ(listing.rows[1].failedAt, ComponentRow::Figure::SetsPossible);

        // The cells the failed division would have written keep what they held, and so do
        // the rows after it.
        ComponentRow earlier2;
        earlier2.rowNumber = 2;
        earlier2.setsPossible = 41;
        earlier2.stockNeeded = 42;
        ComponentRow earlier3;
        earlier3.rowNumber = 3;
        earlier3.productCode = u"OLD"_s;
        RecordingGrid grid;
        grid.write({earlier2, earlier3});
        grid.write(listing.rows);
        EXPECT_EQ(grid.text(2, 0), u"2"_s);
        EXPECT_EQ(grid.text(2, 5), QString::number(c.perSet));
        EXPECT_EQ(grid.text(2, 7), u"0"_s);
        EXPECT_TRUE(grid.role(2, 7).has_value());
        EXPECT_EQ(grid.text(2, 8), u"41"_s);
        EXPECT_EQ(grid.text(2, 9), u"42"_s);
        EXPECT_EQ(grid.text(3, 2), u"OLD"_s);
    }
}

} // namespace
} // namespace setzaiko
