#include "component/OrderPlan.h"

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
using Outcome = OrderPlan::Outcome;
using Check = OrderEntry::Check;
using Figures = std::vector<std::int32_t>;

// Set S1 of three components: 2 per set with 7 in stock, 2 per set with 10, 1 per set with 0.
struct ThreeComponents
{
    StockMaster stocks = stockTable({
        stockRow(u"S1"_s, 10, u"セット"_s, u"1"_s),
        stockRow(u"P1"_s, 7, u"部品1"_s, {}, u"個"_s),
        stockRow(u"P2"_s, 10, u"部品2"_s, {}, u"個"_s),
        stockRow(u"P3"_s, 0, u"部品3"_s, {}, u"本"_s),
    });
    ProductMaster products = productTable({
        compositionRow(u"S1"_s, u"P1"_s, 2),
        compositionRow(u"S1"_s, u"P2"_s, 2),
        compositionRow(u"S1"_s, u"P3"_s, 1),
    });

    OrderPlan simulate(const QString& entry, std::optional<std::int32_t> setStock = 10) const
    {
        return planOrder(entry, setStock, u"S1"_s, MasterData(products, stocks));
    }
};

TEST(OrderPlan, EntryChecksInTheirOrder)
{
    struct Case
    {
        QString entry;
        Check check;
        std::int32_t order;
    };
    const Case cases[] = {
        {u""_s, Check::Empty, 0},
        {u"   "_s, Check::Empty, 0},
        {u" 　"_s, Check::Empty, 0},
        {u"abc"_s, Check::NotNumeric, 0},
        {u"\t5"_s, Check::NotNumeric, 0},
        {u"1 2"_s, Check::NotNumeric, 0},
        {u"1,"_s, Check::NotNumeric, 0},
        {u"−3"_s, Check::NotNumeric, 0}, // U+2212 is no sign
        {u"0"_s, Check::Zero, 0},
        {u"0.4"_s, Check::Zero, 0},
        {u"-0.4"_s, Check::Zero, 0},
        {u"-0.5"_s, Check::Zero, 0},
        {u"-0.6"_s, Check::Negative, 0},
        {u"-3"_s, Check::Negative, 0},
        {u"-2147483648"_s, Check::Negative, 0},
        {u"2.5"_s, Check::Accepted, 2},
        {u"3.5"_s, Check::Accepted, 4},
        {u"1,000"_s, Check::Accepted, 1000},
        {u"  15  "_s, Check::Accepted, 15},
        {u"１５"_s, Check::Accepted, 15},
        {u"＋１，０００"_s, Check::Accepted, 1000},
        {u"1e3"_s, Check::Accepted, 1000},
        {u"2147483647.4"_s, Check::Accepted, 2147483647},
        {u"2147483648"_s, Check::OutOfRange, 0},
        {u"2147483647.5"_s, Check::OutOfRange, 0},
        {u"-2147483649"_s, Check::OutOfRange, 0},
        {u"1e10"_s, Check::OutOfRange, 0},
    };
    const ThreeComponents set;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        const OrderEntry entry = checkOrderEntry(c.entry);
        EXPECT_EQ(entry.check, c.check);

        const OrderPlan simulation = set.simulate(c.entry);
        if (c.check == Check::Accepted) {
            EXPECT_EQ(entry.order, c.order);
            EXPECT_EQ(simulation.order, c.order);
            continue;
        }
        // An entry beyond 32 bits is a run-time failure; the other checks refuse it.
        EXPECT_EQ(simulation.outcome,
                  c.check == Check::OutOfRange ? Outcome::Failed : Outcome::Refused);
        EXPECT_EQ(simulation.entry.check, c.check);
        EXPECT_FALSE(simulation.order.has_value());
        EXPECT_TRUE(simulation.components.empty());
        EXPECT_FALSE(simulation.availability.has_value());
        EXPECT_FALSE(simulation.componentsStarted);
    }
}

TEST(OrderPlan, OrderCoveredByTheSetStockListsAfresh)
{
    const ThreeComponents set;
    for (const QString& entry : {u"10"_s, u"1"_s}) {
        const OrderPlan simulation = set.simulate(entry);
        EXPECT_EQ(simulation.outcome, Outcome::Covered);
        EXPECT_EQ(simulation.order, entry.toInt());
        ASSERT_TRUE(simulation.availability.has_value());
        EXPECT_EQ(simulation.availability->listStatus, ListStatus::Complete);
        EXPECT_EQ(simulation.availability->rows.size(), 3u);
        EXPECT_TRUE(simulation.components.empty());
    }
}

TEST(OrderPlan, ShipmentsAndShortagesOfTheSetsToBuild)
{
    const ThreeComponents set;
    // Set stock 10, order 15: 5 sets to build.
    const OrderPlan simulation = set.simulate(u"15"_s);
    EXPECT_EQ(simulation.outcome, Outcome::Planned);
    EXPECT_EQ(simulation.order, 15);
    EXPECT_TRUE(simulation.componentsStarted);
    EXPECT_FALSE(simulation.capacityExceeded);
    ASSERT_EQ(simulation.components.size(), 3u);

    // Number, stock, per set, shipment, shortage, sets possible, stock needed.
    const Figures figures[] = {
        {1, 7, 2, 10, -3, 3, 6},
        {2, 10, 2, 10, 0, 5, 10},
        {3, 0, 1, 5, -5, 0, 0},
    };
    for (std::size_t r = 0; r < 3; ++r) {
        SCOPED_TRACE(r + 1);
        EXPECT_EQ(figuresOf(simulation.components[r]), figures[r]);
        EXPECT_TRUE(simulation.components[r].isWhole());
    }
    EXPECT_EQ(namesOf(simulation.components[2]), (QStringList{u"部品3"_s, u"P3"_s, u"本"_s}));
    EXPECT_TRUE(simulation.components[0].isShort());
    EXPECT_FALSE(simulation.components[1].isShort());
    EXPECT_TRUE(simulation.components[2].isShort());

    // A smaller order recomputes every row: nothing is short any more but the empty component.
    const OrderPlan smaller = set.simulate(u"12"_s);
    ASSERT_EQ(smaller.components.size(), 3u);
    EXPECT_EQ(figuresOf(smaller.components[0]), (Figures{1, 7, 2, 4, 0, 3, 6}));
    EXPECT_FALSE(smaller.components[0].isShort());
    EXPECT_EQ(smaller.components[2].shortage, -2);

    // A covered order lists afresh: every shipment and shortage back to 0.
    const OrderPlan covered = set.simulate(u"3"_s);
    ASSERT_TRUE(covered.availability.has_value());
    for (const ComponentRow& row : covered.availability->rows) {
        EXPECT_EQ(row.plannedShipment, 0);
        EXPECT_EQ(row.shortage, 0);
    }
}

TEST(OrderPlan, SetStockDecidesTheSetsToBuild)
{
    const StockMaster stocks = stockTable({stockRow(u"P1"_s, 0, u"部品"_s)});
    const ProductMaster products = productTable({compositionRow(u"S1"_s, u"P1"_s, 1)});
    struct Case
    {
        QString entry;
        std::int32_t setStock;
        Outcome outcome;
        std::int32_t shipment;
        std::int32_t shortage;
    };
    const Case cases[] = {
        {u"2000"_s, 1234, Outcome::Planned, 766, -766},
        {u"1234"_s, 1234, Outcome::Covered, 0, 0},
        {u"1,200"_s, 0, Outcome::Planned, 1200, -1200},
        {u"5"_s, -1234, Outcome::Planned, 1239, -1239},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.entry + u'/' + QString::number(c.setStock)).toStdString());
        const OrderPlan simulation =
            planOrder(c.entry, c.setStock, u"S1"_s, MasterData(products, stocks));
        EXPECT_EQ(simulation.outcome, c.outcome);
        const std::vector<ComponentRow>& rows =
            simulation.availability ? simulation.availability->rows : simulation.components;
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].plannedShipment, c.shipment);
        EXPECT_EQ(rows[0].shortage, c.shortage);
    }
}

TEST(OrderPlan, SkipsMissingComponentsSilentlyAndStopsAtTheCapacity)
{
    StockMaster stocks;
    ProductMaster products;
    products.append(compositionRow(u"S1"_s, u"MISSING"_s, 1));
    for (int i = 1; i <= 101; ++i) {
        stocks.append(stockRow(u"P%1"_s.arg(i), 100));
        products.append(compositionRow(u"S1"_s, u"P%1"_s.arg(i), 1));
    }
    OrderPlan simulation = planOrder(u"5"_s, 0, u"S1"_s, MasterData(products, stocks));
    EXPECT_EQ(simulation.outcome, Outcome::Planned);
    EXPECT_TRUE(simulation.capacityExceeded);
    ASSERT_EQ(simulation.components.size(), 100u);
    EXPECT_EQ(simulation.components.front().productCode, u"P1"_s);
    EXPECT_EQ(simulation.components.front().rowNumber, 1);
    EXPECT_EQ(simulation.components.back().productCode, u"P100"_s);

    products =
        productTable({compositionRow(u"S1"_s, u"P1"_s, 1), compositionRow(u"S1"_s, u"MISSING"_s, 1),
                      compositionRow(u"S1"_s, u"P2"_s, 1)});
    simulation = planOrder(u"5"_s, 0, u"S1 "_s, MasterData(products, stocks));
    EXPECT_EQ(simulation.outcome, Outcome::Planned);
    EXPECT_EQ(simulation.entry.check, Check::Accepted);
    ASSERT_EQ(simulation.components.size(), 2u);
    EXPECT_EQ(simulation.components[1].rowNumber, 2);
    EXPECT_EQ(simulation.components[1].productCode, u"P2"_s);
}

TEST(OrderPlan, RunTimeFailuresStopAtTheFigureThatFailed)
{
    constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
    struct Case
    {
        const char* name;
        QString entry;
        std::optional<std::int32_t> setStock;
        std::int32_t stock;
        std::int32_t perSet;
        std::optional<std::int32_t> order;
        std::size_t rows;
        ComponentRow::Figure failedAt;
    };
    using Figure = ComponentRow::Figure;
    const Case cases[] = {
        {"no set product chosen", u"5"_s, std::nullopt, 1, 1, std::nullopt, 0, Figure::None},
        {"sets to build beyond 32 bits", u"2147483647"_s, -1, 1, 1, std::nullopt, 0, Figure::None},
        {"shipment overflows", u"100000"_s, 0, 1, 100000, 100000, 2, Figure::Shipment},
        {"remaining overflows", u"2147483647"_s, 0, -2, 1, int32Max, 2, Figure::Shortage},
        {"0 per set", u"5"_s, 0, 1, 0, 5, 2, Figure::SetsPossible},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StockMaster stocks =
            stockTable({stockRow(u"P1"_s, int32Max), stockRow(u"P2"_s, c.stock)});
        const ProductMaster products = productTable({
            compositionRow(u"S1"_s, u"P1"_s, 1),
            compositionRow(u"S1"_s, u"P2"_s, c.perSet),
            compositionRow(u"S1"_s, u"P1"_s, 1),
        });
        const OrderPlan simulation =
            planOrder(c.entry, c.setStock, u"S1"_s, MasterData(products, stocks));
        EXPECT_EQ(simulation.outcome, Outcome::Failed);
        EXPECT_EQ(simulation.order, c.order);
        ASSERT_EQ(simulation.components.size(), c.rows);
        if (c.rows > 0) {
            EXPECT_TRUE(simulation.components[0].isWhole());
            EXPECT_EQ(simulation.components[1].failedAt, c.failedAt);
        }
    }
}

} // namespace
} // namespace setzaiko
