#pragma once

#include "component/SetAvailability.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace setzaiko {

// The checks of an order entry, first failing one wins.
struct OrderEntry
{
    enum class Check { Accepted, Empty, NotNumeric, Zero, Negative, OutOfRange };

    Check check = Check::Empty;
    std::int32_t order = 0;
};
OrderEntry checkOrderEntry(const QString& entryText);

// What an order of the set product needs: either the set's own stock covers it, or the sets
// missing are assembled and each component ships its share, falling short where its stock
// does not reach.
struct OrderPlan
{
    enum class Outcome {
        Refused, // an entry check failed: entry.check tells which
        Covered, // the set stock covers the order: the plain availability is what it needs
        Planned, // shipments and shortages per component
        Failed,  // a run-time failure: an entry beyond 32 bits or an overflow
    };

    Outcome outcome = Outcome::Refused;
    OrderEntry entry;
    // The accepted order, once the entry and the set stock have been read.
    std::optional<std::int32_t> order;
    std::optional<SetAvailability> availability; // Covered
    // Planned, and Failed while working out the components: the components worked out, in
    // list order; after a failure the last one stopped at its failedAt figure.
    std::vector<ComponentRow> components;
    bool capacityExceeded = false;
    bool componentsStarted = false; // the components were being worked out
};

// Checks the entry, then either finds the set's own stock covers the order (and lists the
// components afresh) or plans assembling the missing sets. Without a set stock (no set
// product chosen) an accepted entry fails.
OrderPlan planOrder(const QString& entryText, std::optional<std::int32_t> setStock,
                    const QString& setCodeCaption, const MasterData& masters, int capacity = 100);

} // namespace setzaiko
