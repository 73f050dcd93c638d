#include "component/SetAvailability.h"

#include "common/CheckedInt.h"
#include "common/TextRules.h"
#include "component/ComponentScan.h"

#include <algorithm>

namespace setzaiko {

bool fillSetsFigures(ComponentRow& row)
{
    row.failedAt = ComponentRow::Figure::SetsPossible;
    if (row.quantityPerSet == 0) {
        return false;
    }
    const auto possible = checked::narrow(std::int64_t{row.stockQuantity} / row.quantityPerSet);
    if (!possible) {
        return false;
    }
    row.setsPossible = *possible;
    row.failedAt = ComponentRow::Figure::StockNeeded;
    const auto needed = checked::multiply(row.quantityPerSet, row.setsPossible);
    if (!needed) {
        return false;
    }
    row.stockNeeded = *needed;
    row.failedAt = ComponentRow::Figure::None;
    return true;
}

bool SetAvailability::limitsAddable(const ComponentRow& row) const
{
    return isComplete() && row.isWhole() && row.setsPossible == addableSets;
}

std::vector<QString> SetAvailability::limitingCodes() const
{
    std::vector<QString> codes;
    for (const ComponentRow& row : rows) {
        if (limitsAddable(row) &&
            std::find(codes.begin(), codes.end(), row.productCode) == codes.end()) {
            codes.push_back(row.productCode);
        }
    }
    return codes;
}

SetAvailability listComponents(const QString& setCodeCaption, const MasterData& masters,
                               int capacity)
{
    SetAvailability listing;
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
        listing.failed = !fillSetsFigures(row);
        listing.rows.push_back(std::move(row));
        if (listing.failed) {
            listing.listStatus = ListStatus::Failed;
            return listing;
        }
    }
    if (listing.rows.empty()) {
        listing.listStatus = ListStatus::Incomplete;
    }
    if (listing.isComplete()) {
        listing.addableSets = std::min_element(listing.rows.begin(), listing.rows.end(),
                                               [](const ComponentRow& a, const ComponentRow& b) {
                                                   return a.setsPossible < b.setsPossible;
                                               })
                                  ->setsPossible;
    }
    return listing;
}

} // namespace setzaiko
