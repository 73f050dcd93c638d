#pragma once

#include "component/ComponentRow.h"
#include "master/MasterData.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace setzaiko {

// How far a listing got: only a complete one opens the order simulation and the export.
enum class ListStatus {
    Complete = 0,
    Incomplete = 1, // a component missing from the stock master, or no components at all
    Truncated = 2,  // more components than the list holds
    Failed = 9,     // a run-time failure ended the listing
};

struct ComponentListing
{
    // The rows written, in grid order from row 1; after a failure the last one is the row in
    // progress, with only its first columnsWritten cells written.
    std::vector<ComponentRow> rows;
    ListStatus listStatus = ListStatus::Complete;
    // More components than the capacity: the box is due after the rows are written.
    bool capacityExceeded = false;
    // A run-time failure (a quantity per set of 0, an overflow) ended the listing: the box
    // E0210 is due, and the labels below keep what they showed before.
    bool failed = false;
    // The additional sets the components' stock allows: the fewest sets of any listed
    // component where the listing is complete, else 0.
    std::int32_t addableSets = 0;
    QString messageLine;
};

// Lists the components of the set product whose code is the right-trimmed caption, with the
// sets each component's stock allows and the additional quantity the stock allows in all.
ComponentListing listComponents(const QString& setCodeCaption, const MasterData& masters,
                                int capacity = 100);

// Works out columns 8 and 9 of a row whose first eight columns are written: the sets its
// stock allows (truncated toward zero) and the stock they need. False, with columnsWritten
// telling how far it got, where the quantity per set is 0 or a result does not fit.
bool fillSetsColumns(ComponentRow& row);

} // namespace setzaiko
