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

// What the stock of its components allows of one set product.
struct SetAvailability
{
    // The components found, in list order; after a failure the last one is the row in
    // progress, worked out up to its failedAt figure.
    std::vector<ComponentRow> rows;
    ListStatus listStatus = ListStatus::Complete;
    // There were more components than the capacity: the rows hold the first ones.
    bool capacityExceeded = false;
    // A run-time failure (a quantity per set of 0, an overflow) ended the listing.
    bool failed = false;
    // The additional sets the components' stock allows: the fewest sets of any listed
    // component where the listing is complete, else 0.
    std::int32_t addableSets = 0;

    bool isComplete() const { return listStatus == ListStatus::Complete; }
    // Whether the row is one of those whose stock allows the fewest sets, so that it decides
    // the additional quantity; only a complete listing has such rows.
    bool limitsAddable(const ComponentRow& row) const;
    // The codes of the rows that decide the additional quantity, in list order, each once.
    std::vector<QString> limitingCodes() const;
    // No component of the set was found at all.
    bool hasNoComponents() const { return rows.empty() && !failed; }
};

// Lists the components of the set product whose code is the right-trimmed caption, with the
// sets each component's stock allows and the additional quantity the stock allows in all.
SetAvailability listComponents(const QString& setCodeCaption, const MasterData& masters,
                               int capacity = 100);

// Works out the sets a row's stock allows (truncated toward zero) and the stock they need.
// False, with failedAt telling where it stopped, where the quantity per set is 0 or a result
// does not fit.
bool fillSetsFigures(ComponentRow& row);

} // namespace setzaiko
