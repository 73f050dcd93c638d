#include "component/ComponentListing.h"

#include "common/CheckedInt.h"
#include "common/TextRules.h"
#include "component/ComponentScan.h"
#include "component/ComponentTexts.h"

#include <algorithm>

namespace setzaiko {

bool fillSetsColumns(ComponentRow& row)
{
    row.columnsWritten = 8;
    if (row.quantityPerSet == 0) {
        return false;
    }
    const auto possible = checked::narrow(std::int64_t{row.stockQuantity} / row.quantityPerSet);
    if (!possible) {
        return false;
    }
    row.setsPossible = *possible;
    row.columnsWritten = 9;
    const auto needed = checked::multiply(row.quantityPerSet, row.setsPossible);
    if (!needed) {
        return false;
    }
    row.stockNeeded = *needed;
    row.columnsWritten = ComponentRow::columnCount;
    return true;
}

ComponentListing listComponents(const QString& setCodeCaption, const MasterData& masters,
                                int capacity)
{
    ComponentListing listing;
    const std::vector<ComponentLine> lines = findComponentLines(rightTrim(setCodeCaption), masters);

    for (const ComponentLine& line : lines) {
        if (!line.stock) {
            listing.listStatus = ListStatus::Incomplete;
            continue;
        }
        if (static_cast<int>(listing.rows.size()) == capacity) {
            listing.capacityExceeded = true;
            listing.listStatus = ListStatus::Truncated;
            break;
        }
        ComponentRow row = joinedRow(line, static_cast<int>(listing.rows.size()) + 1);
        listing.failed = !fillSetsColumns(row);
        listing.rows.push_back(std::move(row));
        if (listing.failed) {
            listing.listStatus = ListStatus::Failed;
            return listing;
        }
    }

    const int listed = static_cast<int>(listing.rows.size());
    if (listed == 0) {
        listing.listStatus = ListStatus::Incomplete;
        listing.messageLine = componenttexts::noComponents.toString();
    } else if (listing.listStatus == ListStatus::Incomplete) {
        listing.messageLine = componenttexts::missingComponent.toString();
    } else if (listing.listStatus == ListStatus::Truncated) {
        listing.messageLine = componenttexts::tooManyComponents.toString();
    }
    if (listed > 0 && listing.listStatus == ListStatus::Complete) {
        listing.addableSets = std::min_element(listing.rows.begin(), listing.rows.end(),
                                               [](const ComponentRow& a, const ComponentRow& b) {
                                                   return a.setsPossible < b.setsPossible;
                                               })
                                  ->setsPossible;
    }
    return listing;
}

} // namespace setzaiko
