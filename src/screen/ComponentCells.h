#pragma once

#include "component/ComponentRow.h"
#include "component/OrderPlan.h"
#include "component/SetAvailability.h"
#include "screen/ScreenTable.h"

#include <QString>

namespace setzaiko {

// The columns of the component list, in screen order.
namespace componentcolumn {
inline constexpr int number = 0;
inline constexpr int name = 1;
inline constexpr int code = 2;
inline constexpr int stock = 3;
inline constexpr int unit = 4;
inline constexpr int perSet = 5;
inline constexpr int shipment = 6;
inline constexpr int shortage = 7;
inline constexpr int sets = 8;
inline constexpr int needed = 9;
inline constexpr int count = 10;
} // namespace componentcolumn

// The text a column of the component list shows for a row.
QString componentCellText(const ComponentRow& row, int column);

// How many cells, from column 0, a step writes of a row: all of them, or those before the
// figure a run-time failure stopped at.
int cellsWritten(const ComponentRow& row);

// The message line a listing leaves: why it is not complete, or nothing.
QString listingMessage(const SetAvailability& listing);

// The box of an order entry the checks refused (E0230 for one beyond 32 bits).
QString refusalText(OrderEntry::Check check);

} // namespace setzaiko
