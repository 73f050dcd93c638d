#pragma once

#include "component/ComponentRow.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace setzaiko {

// The component window's ListStatus after a listing.
namespace liststatus {
inline constexpr std::int16_t complete = 0;
inline constexpr std::int16_t incomplete = 1;
inline constexpr std::int16_t truncated = 2;
inline constexpr std::int16_t failed = 9;
} // namespace liststatus

struct ComponentListing
{
    // The rows written, in grid order from row 1; after a failure the last one is the row in
    // progress, with only its first columnsWritten cells written.
    std::vector<ComponentRow> rows;
    std::int16_t listStatus = liststatus::complete;
    // More components than the capacity: the box is due after the rows are written.
    bool capacityExceeded = false;
    // A run-time failure (a quantity per set of 0, an overflow) ended the listing: the box
    // E0210 is due, and the labels below keep what they showed before.
    bool failed = false;
    std::int32_t addableSets = 0;
    QString messageLine; // LblMsg
    QString knousuText;  // LblKnousu
    QString rowText;     // LblRow
};

// Lists the components of the set product whose code is the right-trimmed caption, with the
// sets each component's stock allows and the additional quantity the stock allows in all.
ComponentListing listComponents(const QString& setCodeCaption, const ProductMaster& products,
                                const StockMaster& stocks, int capacity = 100);

// Sets possible from a stock and a quantity per set, truncated toward zero; false where the
// quantity is 0 or the result does not fit.
bool setsPossible(std::int32_t stock, std::int32_t perSet, std::int32_t& result);

} // namespace setzaiko
