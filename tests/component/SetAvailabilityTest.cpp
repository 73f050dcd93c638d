#include "component/SetAvailability.h"

#include "support/ComponentFigures.h"
#include "support/MasterRows.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::compositionRow;
using testing::figuresOf;
using testing::namesOf;
using testing::productTable;
using testing::stockRow;
using testing::stockTable;
using Figures = std::vector<std::int32_t>;

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
    // Number, stock, per set, shipment, shortage, sets possible (truncated), stock needed.
    const Figures figures[] = {
        {1, 7, 2, 0, 0, 3, 6},
        {2, 5, 10, 0, 0, 0, 0},
        {3, -7, 2, 0, 0, -3, -6},
        {4, 1234, 1000, 0, 0, 1, 1000},
    };
    for (std::size_t r = 0; r < 4; ++r) {
        SCOPED_TRACE(r + 1);
        EXPECT_EQ(figuresOf(listing.rows[r]), figures[r]);
        EXPECT_EQ(
            namesOf(listing.rows[r]),
            (QStringList{u"部品%1"_s.arg(r + 1), u"P%1"_s.arg(r + 1), r == 3 ? u"本"_s : u"個"_s}));
        EXPECT_TRUE(listing.rows[r].isWhole());
        EXPECT_FALSE(listing.rows[r].isShort());
    }
    EXPECT_EQ(listing.listStatus, ListStatus::Complete);
    EXPECT_FALSE(listing.capacityExceeded);
    EXPECT_FALSE(listing.failed);
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
        std::int32_t addable;
        std::int32_t firstSetsPossible;
        QStringList limiting; // the rows that decide it, by their code
    };
    constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
    const Case cases[] = {
        {{{1234567, 1}}, 1234567, 1234567, {u"P0"_s}},
        // Ties all decide; a row that merely has the same stock does not.
        {{{24, 2}, {3, 1}, {7, 2}, {3, 3}}, 1, 12, {u"P3"_s}},
        {{{24, 2}, {3, 1}, {7, 2}}, 3, 12, {u"P1"_s, u"P2"_s}},
        {{{-7, 2}, {100, 1}}, -3, -3, {u"P0"_s}},
        // Figures that only a table left by a failed import can hold still count as listed.
        {{{999'999'999, 1}}, 999'999'999, 999'999'999, {u"P0"_s}},
        {{{int32Max, 1}}, int32Max, int32Max, {u"P0"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addable);
        StockMaster stocks;
        ProductMaster products;
        for (const Component& component : c.components) {
            const QString code = u"P%1"_s.arg(stocks.count());
            stocks.append(stockRow(code, component.stock));
            products.append(compositionRow(u"S1"_s, code, component.perSet));
        }
        const SetAvailability listing = listComponents(u"S1"_s, MasterData(products, stocks));
        EXPECT_EQ(listing.listStatus, ListStatus::Complete);
        EXPECT_EQ(listing.addableSets, c.addable);
        EXPECT_EQ(listing.rows.front().setsPossible, c.firstSetsPossible);
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

TEST(SetAvailability, MissingAndSurplusComponentsSetTheStatus)
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
        int rows;
        bool box;
    };
    constexpr ListStatus incomplete = ListStatus::Incomplete;
    const Case cases[] = {
        {"no composition", u"S9"_s, {u"P1"_s}, incomplete, 0, false},
        {"empty set code", u""_s, {u"P1"_s}, incomplete, 0, false},
        {"all missing", u"S1"_s, {u"M1"_s, u"M2"_s}, incomplete, 0, false},
        {"one missing", u"S1"_s, {u"P1"_s, u"M1"_s, u"P3"_s}, incomplete, 2, false},
        {"exactly 100", u"S1"_s, found(u"P"_s, 100), ListStatus::Complete, 100, false},
        {"100 and a missing one", u"S1"_s, found(u"P"_s, 100) << u"M1"_s, incomplete, 100, false},
        {"missing ones do not count", u"S1"_s, found(u"P"_s, 50) << u"M1"_s << found(u"Q"_s, 50),
         incomplete, 100, false},
        {"101 after a missing one", u"S1"_s, QStringList{u"M1"_s} << found(u"P"_s, 101),
         ListStatus::Truncated, 100, true},
        // The capacity check comes before the 101st row's figures are worked out.
        {"101st with 0 per set", u"S1"_s, found(u"P"_s, 100) << u"Z"_s, ListStatus::Truncated, 100,
         true},
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
        EXPECT_EQ(listing.hasNoComponents(), c.rows == 0);
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
    EXPECT_EQ(namesOf(listing.rows[1]), (QStringList{u"first"_s, u"P1"_s, u""_s}));
    EXPECT_EQ(figuresOf(listing.rows[0]), (Figures{1, 10, 1, 0, 0, 10, 10}));
    EXPECT_EQ(figuresOf(listing.rows[1]), (Figures{2, 10, 2, 0, 0, 5, 10}));
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
        EXPECT_FALSE(listing.hasNoComponents());
        EXPECT_EQ(listing.addableSets, 0);
        // The rows after the failing one are not listed; that one holds the figures before
        // the failed division.
        ASSERT_EQ(listing.rows.size(), 2u);
        EXPECT_TRUE(listing.rows[0].isWhole());
        EXPECT_EQ(listing.rows[1].failedAt, ComponentRow::Figure::SetsPossible);
        EXPECT_EQ(namesOf(listing.rows[1]), (QStringList{u"部品2"_s, u"P2"_s, u"個"_s}));
        EXPECT_EQ(figuresOf(listing.rows[1]), (Figures{2, c.stock, c.perSet, 0, 0, 0, 0}));
    }
}

} // namespace
} // namespace setzaiko
