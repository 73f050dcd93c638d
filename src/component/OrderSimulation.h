#pragma once

#include "component/ComponentListing.h"

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
    QString refusal; // the box text of a refused entry
};
OrderEntry checkOrderEntry(const QString& entryText);

struct OrderSimulation
{
    enum class Outcome {
        Refused,   // an entry check failed: its box, nothing else
        Covered,   // the set stock covers the order: the listing is shown afresh
        Simulated, // shipments and shortages per component
        Failed,    // a run-time failure: beep and the box E0230
    };

    Outcome outcome = Outcome::Refused;
    QString messageBox;
    // The accepted order, once the entry and the set stock have been read.
    std::optional<std::int32_t> acceptedOrder;
    std::optional<ComponentListing> listing; // Covered
    // Simulated, and Failed during the rewrite: the rows rewritten, in grid order; after a
    // failure the last is the row in progress with only its first columnsWritten cells.
    std::vector<ComponentRow> rows;
    bool capacityExceeded = false;
    bool rowsRewritten = false; // the list was scrolled back and the message line emptied
};

// One press of 再計算: checks the entry, then either lists the components afresh (the set's
// own stock covers the order) or simulates assembling the missing sets. Without a set stock
// (no set product chosen) an accepted entry fails.
OrderSimulation simulateOrder(const QString& entryText, std::optional<std::int32_t> setStock,
                              const QString& setCodeCaption, const MasterData& masters,
                              int capacity = 100);

} // namespace setzaiko
