#pragma once

#include "inquiry/SetProduct.h"
#include "master/StockMaster.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace setzaiko {

// The seven cell texts of one row of the set product list: No., name, code, stock, unit,
// remarks, and an always empty last column.
using SetProductListRow = std::array<QString, 7>;

struct SetProductSearchResult
{
    bool filtered = false; // a code or a name text was entered
    std::vector<SetProductListRow> rows;
    std::vector<SetProduct> products; // the set product of each row
    // The scan stopped at a set product that would have been row capacity + 1: the box text
    // is shown first, then the message line.
    bool limitReached = false;
    QString limitBox;
    QString limitLine;
    std::optional<SetProduct> selection; // row 1, or nullopt for an empty list
};

inline constexpr int listCapacity = 100;

// Whether a search with these texts is filtered: a code or a name text, right-trimmed, is not
// empty.
bool isFilteredSearch(const QString& codeText, const QString& nameText);

// Lists the set products of the stock master whose code and name contain the entered texts
// (right-trimmed; an empty text matches every row), in table order, at most capacity rows.
SetProductSearchResult searchSetProducts(const StockMaster& stocks, const QString& codeText,
                                         const QString& nameText, int capacity = listCapacity);

} // namespace setzaiko
