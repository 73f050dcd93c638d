#include "component/OrderPlan.h"

#include "common/CheckedInt.h"
#include "common/NumberText.h"
#include "common/TextRules.h"
#include "component/ComponentScan.h"

namespace setzaiko {

namespace {

// Order minus set stock; nullopt without a set stock or for a difference beyond 32 bits.
std::optional<std::int32_t> setsToBuild(std::int32_t order, std::optional<std::int32_t> setStock)
{
    if (!setStock) {
        return std::nullopt;
    }
    return checked::subtract(order, *setStock);
}

bool planRow(ComponentRow& row, std::int32_t toBuild)
{
    row.failedAt = ComponentRow::Figure::Shipment;
    const auto shipment = checked::multiply(row.quantityPerSet, toBuild);
    if (!shipment) {
        return false;
    }
    row.plannedShipment = *shipment;
    row.failedAt = ComponentRow::Figure::Shortage;
    const auto remaining = checked::subtract(row.stockQuantity, row.plannedShipment);
    if (!remaining) {
        return false;
    }
    row.shortage = *remaining < 0 ? *remaining : 0;
    return fillSetsFigures(row);
}

} // namespace

OrderEntry checkOrderEntry(const QString& entryText)
{
    if (rightTrim(entryText).isEmpty()) {
        return {OrderEntry::Check::Empty, 0};
    }
    const std::optional<DecimalNumber> number = parseNumber(trim(entryText));
    if (!number) {
        return {OrderEntry::Check::NotNumeric, 0};
    }
    const std::optional<std::int32_t> order = roundToInt32(*number);
    if (!order) {
        return {OrderEntry::Check::OutOfRange, 0};
    }
    if (*order == 0) {
        return {OrderEntry::Check::Zero, 0};
    }
    if (*order < 0) {
        return {OrderEntry::Check::Negative, 0};
    }
    return {OrderEntry::Check::Accepted, *order};
}

OrderPlan planOrder(const QString& entryText, std::optional<std::int32_t> setStock,
                    const QString& setCodeCaption, const MasterData& masters, int capacity)
{
    OrderPlan plan;
    plan.entry = checkOrderEntry(entryText);
    if (plan.entry.check == OrderEntry::Check::OutOfRange) {
        plan.outcome = OrderPlan::Outcome::Failed;
        return plan;
    }
    if (plan.entry.check != OrderEntry::Check::Accepted) {
        return plan;
    }

    const std::optional<std::int32_t> toBuild = setsToBuild(plan.entry.order, setStock);
    if (!toBuild) {
        plan.outcome = OrderPlan::Outcome::Failed;
        return plan;
    }
    plan.order = plan.entry.order;
    if (*setStock >= plan.entry.order) {
        plan.outcome = OrderPlan::Outcome::Covered;
        plan.availability = listComponents(setCodeCaption, masters, capacity);
        return plan;
    }

    plan.outcome = OrderPlan::Outcome::Planned;
    plan.componentsStarted = true;
    for (const ComponentLine& line : findComponentLines(rightTrim(setCodeCaption), masters)) {
        if (!line.stock) {
            continue;
        }
        if (static_cast<int>(plan.components.size()) == capacity) {
            plan.capacityExceeded = true;
            break;
        }
        ComponentRow row = joinedRow(line, static_cast<int>(plan.components.size()) + 1);
        const bool ok = planRow(row, *toBuild);
        plan.components.push_back(std::move(row));
        if (!ok) {
            plan.outcome = OrderPlan::Outcome::Failed;
            return plan;
        }
    }
    return plan;
}

} // namespace setzaiko
