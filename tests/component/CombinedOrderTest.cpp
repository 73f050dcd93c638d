#include "component/CombinedOrder.h"

#include "component/OrderPlan.h"
#include "support/MasterRows.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::compositionRow;
using testing::productTable;
using testing::stockRow;
using testing::stockTable;

constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t int32Min = std::numeric_limits<std::int32_t>::min();

bool fits(std::int64_t value)
{
    return value >= int32Min && value <= int32Max;
}

// Random masters and orders against a reference worked out in 64 bits: one set gives the
// single-set simulation's figures, needs add up over the sets, alone and together are told
// apart, and every result beyond 32 bits fails the plan.
TEST(CombinedOrder, AgreesWithTheSingleSetSimulationAndA64BitReference)
{
    std::mt19937 random(20261208);
    const auto pick = [&](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    const auto quantity = [&](std::int64_t low, std::int64_t high) {
        // Now and then a figure near the 32-bit limit, so that products and sums overflow.
        return static_cast<std::int32_t>(pick(0, 19) == 0 ? pick(int32Max / 4, int32Max)
                                                          : pick(low, high));
    };
    int singles = 0;
    int conflicts = 0;
    int overflows = 0;
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        const int componentCount = static_cast<int>(pick(1, 5));
        std::vector<NewStockRow> stocks;
        std::map<QString, std::int64_t> stockOf;
        for (int c = 0; c < componentCount; ++c) {
            const QString code = u"P%1"_s.arg(c);
            const std::int32_t stock = pick(0, 9) == 0 ? -quantity(1, 5) : quantity(0, 60);
            stocks.push_back(stockRow(code, stock, u"部品"_s + code));
            stockOf[code] = stock;
        }
        std::vector<NewProductRow> compositions;
        const int setCount = static_cast<int>(pick(1, 3));
        std::map<QString, std::map<QString, std::int64_t>> perSetOf; // summed per code
        for (int s = 0; s < setCount; ++s) {
            const QString setCode = u"S%1"_s.arg(s);
            for (int line = static_cast<int>(pick(1, 4)); line > 0; --line) {
                const QString code = u"P%1"_s.arg(pick(0, componentCount - 1));
                const std::int32_t perSet = quantity(1, 6);
                compositions.push_back(compositionRow(setCode, code, perSet));
                perSetOf[setCode][code] += perSet;
            }
        }
        const MasterData masters(productTable(compositions), stockTable(stocks));

        std::vector<SetOrder> orders;
        for (int n = static_cast<int>(pick(1, 4)); n > 0; --n) {
            const QString setCode = u"S%1"_s.arg(pick(0, setCount - 1));
            // A set named twice keeps the stock the inquiry showed for it.
            orders.push_back(
                {setCode, static_cast<std::int32_t>(setCode.mid(1).toInt() * 3), quantity(1, 30)});
        }

        // The reference, in 64 bits; any figure outside 32 bits must fail the plan.
        bool overflow = false;
        std::map<QString, std::int64_t> orderOf;
        std::vector<QString> setOrder;
        for (const SetOrder& o : orders) {
            if (!orderOf.count(o.setCode)) {
                setOrder.push_back(o.setCode);
            }
            orderOf[o.setCode] += o.order;
            overflow = overflow || !fits(orderOf[o.setCode]);
        }
        std::map<QString, std::int64_t> needOf;
        std::map<QString, std::map<QString, std::int64_t>> drawOf;
        for (const QString& setCode : setOrder) {
            const std::int64_t toBuild =
                std::max<std::int64_t>(0, orderOf[setCode] - setCode.mid(1).toInt() * 3);
            for (const NewProductRow& row : compositions) {
                if (row.setCode != setCode || toBuild == 0) {
                    continue;
                }
                const std::int64_t need = std::int64_t{row.quantityPerSet} * toBuild;
                needOf[row.componentCode] += need;
                drawOf[setCode][row.componentCode] += need;
                overflow = overflow || !fits(need) || !fits(needOf[row.componentCode]) ||
                           !fits(drawOf[setCode][row.componentCode]);
            }
        }
        for (const auto& [code, need] : needOf) {
            overflow = overflow || !fits(stockOf[code] - need);
        }

        const CombinedOrder plan = planCombinedOrder(orders, masters);
        if (overflow) {
            ++overflows;
            EXPECT_EQ(plan.outcome, CombinedOrder::Outcome::Failed);
            // One set listing each component once fails exactly where its simulation fails.
            const bool once = setOrder.size() == 1 && fits(orderOf[setOrder.front()]) &&
                              static_cast<std::size_t>(std::count_if(
                                  compositions.begin(), compositions.end(), [&](const auto& row) {
                                      return row.setCode == setOrder.front();
                                  })) == perSetOf[setOrder.front()].size();
            if (once) {
                const OrderPlan single =
                    planOrder(QString::number(orderOf[setOrder.front()]), orders.front().setStock,
                              setOrder.front(), masters);
                EXPECT_EQ(single.outcome, OrderPlan::Outcome::Failed);
            }
            continue;
        }
        ASSERT_EQ(plan.outcome, CombinedOrder::Outcome::Planned);
        ASSERT_EQ(plan.sets.size(), setOrder.size());
        for (const CombinedComponent& component : plan.components) {
            const std::int64_t need = needOf[component.code];
            EXPECT_EQ(component.need, need) << component.code.toStdString();
            EXPECT_EQ(component.stock, stockOf[component.code]);
            const std::int64_t remaining = stockOf[component.code] - need;
            EXPECT_EQ(component.shortage, need > 0 && remaining < 0 ? remaining : 0);
            EXPECT_EQ(component.shipment,
                      need > 0 ? std::clamp<std::int64_t>(stockOf[component.code], 0, need) : 0);
        }
        for (const CombinedSet& set : plan.sets) {
            bool alone = true;
            bool together = true;
            for (const auto& [code, draw] : drawOf[set.setCode]) {
                alone = alone && stockOf[code] - draw >= 0;
                together = together && stockOf[code] - needOf[code] >= 0;
            }
            EXPECT_EQ(set.order, orderOf[set.setCode]);
            EXPECT_EQ(set.metAlone, alone) << set.setCode.toStdString();
            EXPECT_EQ(set.metTogether, together) << set.setCode.toStdString();
            conflicts += alone && !together;
        }

        // An order of one set gives the single-set simulation's figures, a component listed
        // twice counting once with the sum of its rows.
        if (setOrder.size() != 1) {
            continue;
        }
        ++singles;
        const SetOrder& only = orders.front();
        const std::int32_t order = plan.sets.front().order;
        const OrderPlan single =
            planOrder(QString::number(order), only.setStock, only.setCode, masters);
        std::map<QString, std::int64_t> shipmentOf;
        std::map<QString, std::int32_t> shortageOf;
        if (single.outcome == OrderPlan::Outcome::Planned) {
            for (const ComponentRow& row : single.components) {
                shipmentOf[row.productCode] += row.plannedShipment;
                shortageOf[row.productCode] = row.shortage;
            }
        } else {
            ASSERT_EQ(single.outcome, OrderPlan::Outcome::Covered);
        }
        for (const CombinedComponent& component : plan.components) {
            EXPECT_EQ(component.need, shipmentOf[component.code]);
            const bool listedOnce =
                std::count_if(compositions.begin(), compositions.end(), [&](const auto& row) {
                    return row.setCode == only.setCode && row.componentCode == component.code;
                }) == 1;
            if (listedOnce) {
                EXPECT_EQ(component.shortage, shortageOf[component.code]);
            }
        }
    }
    // The run covers what it is about.
    EXPECT_GT(singles, 50);
    EXPECT_GT(conflicts, 10);
    EXPECT_GT(overflows, 10);
}

} // namespace
} // namespace setzaiko
