#include "component/ComponentListing.h"

#include "common/CheckedInt.h"
#include "common/NumberFormat.h"
#include "common/TextRules.h"
#include "component/ComponentScan.h"
#include "component/ComponentTexts.h"

#include <algorithm>

namespace setzaiko {

bool setsPossible(std::int32_t stock, std::int32_t perSet, std::int32_t& result)
{
    if (perSet == 0) {
        return false;
    }
    const std::optional<std::int32_t> quotient = checked::narrow(std::int64_t{stock} / perSet);
    if (!quotient) {
        return false;
    }
    result = *quotient;
    return true;
}

ComponentListing listComponents(const QString& setCodeCaption, const ProductMaster& products,
                                const StockMaster& stocks, int capacity)
{
    ComponentListing listing;
    const std::vector<ComponentLine> lines =
        findComponentLines(rightTrim(setCodeCaption), products, stocks);

    for (const ComponentLine& line : lines) {
        if (!line.stock) {
            listing.listStatus = liststatus::incomplete;
            continue;
        }
        if (static_cast<int>(listing.rows.size()) == capacity) {
            listing.capacityExceeded = true;
            listing.listStatus = liststatus::truncated;
            break;
        }
        ComponentRow row;
        row.RowNo = static_cast<int>(listing.rows.size()) + 1;
        row.ProductName = line.stock->ProductName;
        row.ProductCode = line.stock->ProductCode;
        row.StockQty = line.stock->StockQty;
        row.Unit = line.stock->Unit;
        row.QtyPerSet = line.composition->ComponentQty;
        row.columnsWritten = 8;
        if (!setsPossible(row.StockQty, row.QtyPerSet, row.SetsPossible)) {
            listing.failed = true;
        } else {
            row.columnsWritten = 9;
            const auto needed = checked::multiply(row.QtyPerSet, row.SetsPossible);
            if (!needed) {
                listing.failed = true;
            } else {
                row.StockNeeded = *needed;
                row.columnsWritten = ComponentRow::columnCount;
            }
        }
        listing.rows.push_back(std::move(row));
        if (listing.failed) {
            listing.listStatus = liststatus::failed;
            return listing;
        }
    }

    const int listed = static_cast<int>(listing.rows.size());
    if (listed == 0) {
        listing.listStatus = liststatus::incomplete;
        listing.messageLine = componenttexts::noComponents.toString();
    } else if (listing.listStatus == liststatus::incomplete) {
        listing.messageLine = componenttexts::missingComponent.toString();
    } else if (listing.listStatus == liststatus::truncated) {
        listing.messageLine = componenttexts::tooManyComponents.toString();
    }
    if (listed > 0) {
        listing.addableSets = std::min_element(listing.rows.begin(), listing.rows.end(),
                                               [](const ComponentRow& a, const ComponentRow& b) {
                                                   return a.SetsPossible < b.SetsPossible;
                                               })
                                  ->SetsPossible;
    }
    listing.knousuText = listing.listStatus == liststatus::complete
                             ? formatNumber(listing.addableSets, formats::grouped9)
                             : formatNumber(0, formats::grouped9);
    listing.rowText = QString::number(listed);
    return listing;
}

} // namespace setzaiko
