#include "component/CombinedOrder.h"

#include "common/CheckedInt.h"

#include <algorithm>
#include <map>
#include <optional>

namespace setzaiko {

namespace {

// A failed checked step ends the whole plan.
struct Overflow
{};

std::int32_t sure(std::optional<std::int32_t> value)
{
    if (!value) {
        throw Overflow{};
    }
    return *value;
}

// The shipment a set draws from each of its components, one entry per component code.
using Draws = std::map<QString, std::int32_t>;

bool meets(const Draws& draws, const std::map<QString, std::int32_t>& stockOf)
{
    return std::all_of(draws.begin(), draws.end(), [&](const auto& draw) {
        return sure(checked::subtract(stockOf.at(draw.first), draw.second)) >= 0;
    });
}

std::vector<CombinedSet> mergedSets(const std::vector<SetOrder>& orders)
{
    std::vector<CombinedSet> sets;
    for (const SetOrder& order : orders) {
        const auto same = std::find_if(sets.begin(), sets.end(), [&](const CombinedSet& set) {
            return set.setCode == order.setCode;
        });
        if (same != sets.end()) {
            same->order = sure(checked::add(same->order, order.order));
        } else {
            sets.push_back({order.setCode, order.setStock, order.order});
        }
    }
    return sets;
}

} // namespace

bool CombinedOrder::hasConflict() const
{
    return std::any_of(sets.begin(), sets.end(),
                       [](const CombinedSet& set) { return set.metAlone && !set.metTogether; });
}

CombinedOrder planCombinedOrder(const std::vector<SetOrder>& orders, const MasterData& masters,
                                int capacity)
{
    CombinedOrder plan;
    try {
        plan.sets = mergedSets(orders);
        std::vector<Draws> draws(plan.sets.size());
        std::map<QString, std::int32_t> stockOf;
        std::map<QString, std::size_t> placeOf;
        std::map<QString, bool> drawn; // some set to build lists the component
        for (std::size_t i = 0; i < plan.sets.size(); ++i) {
            CombinedSet& set = plan.sets[i];
            SetAvailability listing = listComponents(set.setCode, masters, capacity);
            if (!listing.isComplete()) {
                plan.outcome = listing.failed ? CombinedOrder::Outcome::Failed
                                              : CombinedOrder::Outcome::Incomplete;
                plan.failedSet = static_cast<int>(i);
                plan.failedListing = std::move(listing);
                plan.components.clear();
                return plan;
            }
            // The single-set simulation builds only what the set's own stock lacks.
            set.toBuild = std::max(0, sure(checked::subtract(set.order, set.setStock)));
            for (const ComponentRow& row : listing.rows) {
                const auto [place, isNew] =
                    placeOf.try_emplace(row.productCode, plan.components.size());
                if (isNew) {
                    plan.components.push_back(
                        {row.productCode, row.productName, row.unit, row.stockQuantity});
                    stockOf[row.productCode] = row.stockQuantity;
                }
                if (set.toBuild == 0) {
                    continue;
                }
                CombinedComponent& component = plan.components[place->second];
                const std::int32_t need = sure(checked::multiply(row.quantityPerSet, set.toBuild));
                component.need = sure(checked::add(component.need, need));
                std::int32_t& drawnBySet = draws[i][row.productCode];
                drawnBySet = sure(checked::add(drawnBySet, need));
                drawn[row.productCode] = true;
            }
        }
        std::map<QString, std::int32_t> shortageOf;
        for (CombinedComponent& component : plan.components) {
            const std::int32_t remaining = sure(checked::subtract(component.stock, component.need));
            component.shortage = drawn[component.code] && remaining < 0 ? remaining : 0;
            component.shipment =
                component.need <= 0 ? 0 : std::clamp(component.stock, 0, component.need);
            shortageOf[component.code] = component.shortage;
        }
        for (std::size_t i = 0; i < plan.sets.size(); ++i) {
            plan.sets[i].metAlone = meets(draws[i], stockOf);
            plan.sets[i].metTogether =
                std::all_of(draws[i].begin(), draws[i].end(),
                            [&](const auto& draw) { return shortageOf.at(draw.first) == 0; });
        }
    } catch (const Overflow&) {
        plan.outcome = CombinedOrder::Outcome::Failed;
        plan.components.clear();
    }
    return plan;
}

} // namespace setzaiko
