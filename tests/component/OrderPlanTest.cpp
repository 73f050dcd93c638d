#include "component/OrderPlan.h"

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
using Outcome = OrderPlan::Outcome;
using Check = OrderEntry::Check;

constexpr CellRole redOnYellow = CellRole::Shortage;
constexpr CellRole blackOnWhite = CellRole::Plain;

void expectColours(const RecordingGrid& grid, int row, CellRole expected)
{
    EXPECT_EQ(grid.role(row, componentcolumn::shortage), expected);
}

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
        QStringView box;
        Outcome outcome = Outcome::Refused;
        switch (c.check) {
        case Check::Empty:
            box = componenttexts::enterOrder;
            break;
        case Check::NotNumeric:
            box = componenttexts::enterNumber;
            break;
        case Check::Zero:
            box = componenttexts::noZero;
            break;
        case Check::Negative:
            box = componenttexts::noNegative;
            break;
        case Check::OutOfRange:
            box = componenttexts::simulationFailed;
            outcome = Outcome::Failed;
            break;
        case Check::Accepted:
            EXPECT_EQ(entry.order, c.order);
            EXPECT_EQ(simulation.order, c.order);
            continue;
        }
        EXPECT_EQ(simulation.outcome, outcome);
        EXPECT_EQ(simulation.entry.check, c.check);
        EXPECT_EQ(refusalText(simulation.entry.check), box.toString());
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

    RecordingGrid grid;
    grid.write(simulation.components);
    const QStringList expected[] = {
        {u"1"_s, u"部品1"_s, u"P1"_s, u"7"_s, u"個"_s, u"2"_s, u"10"_s, u"-3"_s, u"3"_s, u"6"_s},
        {u"2"_s, u"部品2"_s, u"P2"_s, u"10"_s, u"個"_s, u"2"_s, u"10"_s, u"0"_s, u"5"_s, u"10"_s},
        {u"3"_s, u"部品3"_s, u"P3"_s, u"0"_s, u"本"_s, u"1"_s, u"5"_s, u"-5"_s, u"0"_s, u"0"_s},
    };
    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r);
        for (int column = 0; column < componentcolumn::count; ++column) {
            EXPECT_EQ(grid.text(r, column), expected[r - 1][column]);
        }
    }
    expectColours(grid, 1, redOnYellow);
    expectColours(grid, 2, blackOnWhite);
    expectColours(grid, 3, redOnYellow);

    // A smaller order recomputes every row: nothing is short any more but the empty component.
    grid.write(set.simulate(u"12"_s).components);
    EXPECT_EQ(grid.text(1, 6), u"4"_s);
    EXPECT_EQ(grid.text(1, 7), u"0"_s);
    expectColours(grid, 1, blackOnWhite);
    EXPECT_EQ(grid.text(3, 7), u"-2"_s);
    expectColours(grid, 3, redOnYellow);

    // A covered order turns every shortage cell back to 0, black on white.
    grid.write(set.simulate(u"3"_s).availability->rows);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(grid.text(r, 6), u"0"_s);
        EXPECT_EQ(grid.text(r, 7), u"0"_s);
        expectColours(grid, r, blackOnWhite);
    }
}

TEST(OrderPlan, SetStockIsReadWithItsGroupSeparators)
{
    const StockMaster stocks = stockTable({stockRow(u"P1"_s, 0, u"部品"_s)});
    const ProductMaster products = productTable({compositionRow(u"S1"_s, u"P1"_s, 1)});
    struct Case
    {
        QString entry;
        std::int32_t setStock;
        Outcome outcome;
        QString shipment;
        QString shortage;
    };
    const Case cases[] = {
        {u"2000"_s, 1234, Outcome::Planned, u"766"_s, u"-766"_s},
        {u"1234"_s, 1234, Outcome::Covered, u"0"_s, u"0"_s},
        {u"1,200"_s, 0, Outcome::Planned, u"1,200"_s, u"-1,200"_s},
        {u"5"_s, -1234, Outcome::Planned, u"1,239"_s, u"-1,239"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.entry + u'/' + QString::number(c.setStock)).toStdString());
        const OrderPlan simulation =
            planOrder(c.entry, c.setStock, u"S1"_s, MasterData(products, stocks));
        EXPECT_EQ(simulation.outcome, c.outcome);
        const std::vector<ComponentRow>& rows =
            simulation.availability ? simulation.availability->rows : simulation.components;
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(componentCellText(rows[0], componentcolumn::shipment), c.shipment);
        EXPECT_EQ(componentCellText(rows[0], componentcolumn::shortage), c.shortage);
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

TEST(OrderPlan, RunTimeFailuresEndWithE0230)
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
        int columnsWritten;
    };
    const Case cases[] = {
        {"no set product chosen", u"5"_s, std::nullopt, 1, 1, std::nullopt, 0, 0},
        {"sets to build beyond 32 bits", u"2147483647"_s, -1, 1, 1, std::nullopt, 0, 0},
        {"shipment overflows", u"100000"_s, 0, 1, 100000, 100000, 2, 6},
        {"remaining overflows", u"2147483647"_s, 0, -2, 1, int32Max, 2, 7},
        {"0 per set", u"5"_s, 0, 1, 0, 5, 2, 8},
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
            EXPECT_EQ(cellsWritten(simulation.components[1]), c.columnsWritten);
        }
    }
}

} // namespace
} // namespace setzaiko
