#include "component/OrderSimulation.h"

#include "common/CheckedInt.h"
#include "common/NumberText.h"
#include "common/TextRules.h"
#include "component/ComponentScan.h"
#include "component/ComponentTexts.h"

namespace setzaiko {

namespace {

OrderEntry refused(OrderEntry::Check check, QStringView text)
{
    return {check, 0, text.toString()};
}

// Order minus set stock; nullopt without a set stock or for a difference beyond 32 bits.
std::optional<std::int32_t> setsToBuild(std::int32_t order, std::optional<std::int32_t> setStock)
{
    if (!setStock) {
        return std::nullopt;
    }
    return checked::subtract(order, *setStock);
}

bool simulateRow(ComponentRow& row, std::int32_t toBuild)
{
    row.columnsWritten = 6;
    const auto shipment = checked::multiply(row.quantityPerSet, toBuild);
    if (!shipment) {
        return false;
    }
    row.plannedShipment = *shipment;
    row.columnsWritten = 7;
    const auto remaining = checked::subtract(row.stockQuantity, row.plannedShipment);
    if (!remaining) {
        return false;
    }
    row.shortage = *remaining < 0 ? *remaining : 0;
    return fillSetsColumns(row);
}

} // namespace

OrderEntry checkOrderEntry(const QString& entryText)
{
    if (rightTrim(entryText).isEmpty()) {
        return refused(OrderEntry::Check::Empty, componenttexts::enterOrder);
    }
    const std::optional<DecimalNumber> number = parseNumber(trim(entryText));
    if (!number) {
        return refused(OrderEntry::Check::NotNumeric, componenttexts::enterNumber);
    }
    const std::optional<std::int32_t> order = roundToInt32(*number);
    if (!order) {
        return refused(OrderEntry::Check::OutOfRange, componenttexts::simulationFailed);
    }
    if (*order == 0) {
        return refused(OrderEntry::Check::Zero, componenttexts::noZero);
    }
    if (*order < 0) {
        return refused(OrderEntry::Check::Negative, componenttexts::noNegative);
    }
    return {OrderEntry::Check::Accepted, *order, {}};
}

OrderSimulation simulateOrder(const QString& entryText, std::optional<std::int32_t> setStock,
                              const QString& setCodeCaption, const MasterData& masters,
                              int capacity)
{
    OrderSimulation simulation;
    const OrderEntry entry = checkOrderEntry(entryText);
    if (entry.check == OrderEntry::Check::OutOfRange) {
        simulation.outcome = OrderSimulation::Outcome::Failed;
        simulation.messageBox = entry.refusal;
        return simulation;
    }
    if (entry.check != OrderEntry::Check::Accepted) {
        simulation.messageBox = entry.refusal;
        return simulation;
    }

    const std::optional<std::int32_t> toBuild = setsToBuild(entry.order, setStock);
    if (!toBuild) {
        simulation.outcome = OrderSimulation::Outcome::Failed;
        simulation.messageBox = componenttexts::simulationFailed.toString();
        return simulation;
    }
    simulation.acceptedOrder = entry.order;
    if (*setStock >= entry.order) {
        simulation.outcome = OrderSimulation::Outcome::Covered;
        simulation.listing = listComponents(setCodeCaption, masters, capacity);
        return simulation;
    }

    simulation.outcome = OrderSimulation::Outcome::Simulated;
    simulation.rowsRewritten = true;
    for (const ComponentLine& line : findComponentLines(rightTrim(setCodeCaption), masters)) {
        if (!line.stock) {
            continue;
        }
        if (static_cast<int>(simulation.rows.size()) == capacity) {
            simulation.capacityExceeded = true;
            break;
        }
        ComponentRow row = joinedRow(line, static_cast<int>(simulation.rows.size()) + 1);
        const bool ok = simulateRow(row, *toBuild);
        simulation.rows.push_back(std::move(row));
        if (!ok) {
            simulation.outcome = OrderSimulation::Outcome::Failed;
            simulation.messageBox = componenttexts::simulationFailed.toString();
            return simulation;
        }
    }
    return simulation;
}

} // namespace setzaiko
