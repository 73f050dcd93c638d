#include "component/OrderSimulation.h"

#include "common/CheckedInt.h"
#include "common/NumberText.h"
#include "common/TextRules.h"
#include "component/ComponentScan.h"
#include "component/ComponentTexts.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace setzaiko {

namespace {

OrderEntry refused(OrderEntry::Check check, QStringView text)
{
    return {check, 0, text.toString()};
}

double toDouble(const DecimalNumber& number)
{
    const QByteArray text = "0." + (number.digits.isEmpty() ? QByteArray("0") : number.digits) +
                            'e' + QByteArray::number(number.exponent);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.constData(), text.constData() + text.size(), value);
    if (error != std::errc()) {
        return std::numeric_limits<double>::infinity();
    }
    return number.negative ? -value : value;
}

// Order minus set stock: subtracted in floating point and rounded half to even, exact for the
// whole numbers the inquiry hands over; nullopt for a stock text that is not a number or a
// difference beyond 32 bits.
std::optional<std::int32_t> setsToBuild(std::int32_t order, const QString& setStockText)
{
    const std::optional<DecimalNumber> stock = parseNumber(setStockText);
    if (!stock) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(static_cast<double>(order) - toDouble(*stock));
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

bool simulateRow(ComponentRow& row, std::int32_t toBuild)
{
    row.columnsWritten = 6;
    const auto shipment = checked::multiply(row.QtyPerSet, toBuild);
    if (!shipment) {
        return false;
    }
    row.PlannedShipment = *shipment;
    row.columnsWritten = 7;
    const auto remaining = checked::subtract(row.StockQty, row.PlannedShipment);
    if (!remaining) {
        return false;
    }
    row.ShortageQty = *remaining < 0 ? *remaining : 0;
    row.columnsWritten = 8;
    if (!setsPossible(row.StockQty, row.QtyPerSet, row.SetsPossible)) {
        return false;
    }
    row.columnsWritten = 9;
    const auto needed = checked::multiply(row.QtyPerSet, row.SetsPossible);
    if (!needed) {
        return false;
    }
    row.StockNeeded = *needed;
    row.columnsWritten = ComponentRow::columnCount;
    return true;
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

OrderSimulation simulateOrder(const QString& entryText, const QString& setStockText,
                              const QString& setCodeCaption, const ProductMaster& products,
                              const StockMaster& stocks, int capacity)
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

    const std::optional<std::int32_t> toBuild = setsToBuild(entry.order, setStockText);
    if (!toBuild) {
        simulation.outcome = OrderSimulation::Outcome::Failed;
        simulation.messageBox = componenttexts::simulationFailed.toString();
        return simulation;
    }
    simulation.jsuryoText = QString::number(entry.order);

    const Int32Result setStock = textToInt32(setStockText);
    if (setStock.status != Int32Conversion::Ok) {
        simulation.outcome = OrderSimulation::Outcome::Failed;
        simulation.messageBox = componenttexts::simulationFailed.toString();
        return simulation;
    }
    if (setStock.value >= entry.order) {
        simulation.outcome = OrderSimulation::Outcome::Covered;
        simulation.listing = listComponents(setCodeCaption, products, stocks, capacity);
        return simulation;
    }

    simulation.outcome = OrderSimulation::Outcome::Simulated;
    simulation.rowsRewritten = true;
    for (const ComponentLine& line :
         findComponentLines(rightTrim(setCodeCaption), products, stocks)) {
        if (!line.stock) {
            continue;
        }
        if (static_cast<int>(simulation.rows.size()) == capacity) {
            simulation.capacityExceeded = true;
            break;
        }
        ComponentRow row;
        row.RowNo = static_cast<int>(simulation.rows.size()) + 1;
        row.ProductName = line.stock->ProductName;
        row.ProductCode = line.stock->ProductCode;
        row.StockQty = line.stock->StockQty;
        row.Unit = line.stock->Unit;
        row.QtyPerSet = line.composition->ComponentQty;
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
