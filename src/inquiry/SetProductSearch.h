#pragma once

#include "inquiry/SetProduct.h"
#include "master/StockMaster.h"

#include <QString>

#include <optional>
#include <vector>

namespace setzaiko {

// A set product a search found, with the remarks the list shows beside it.
struct FoundSetProduct
{
    SetProduct product;
    QString remarks;
};

struct SetProductSearchResult
{
    bool filtered = false; // a code or a name text was entered
    std::vector<FoundSetProduct> found;
    // The scan stopped at a set product that would have been number capacity + 1.
    bool limitReached = false;
};

inline constexpr int listCapacity = 100;

// Whether a search with these texts is filtered: a code or a name text, right-trimmed, is not
// empty.
bool isFilteredSearch(const QString& codeText, const QString& nameText);

// Lists the set products of the stock master whose code and name contain the entered texts
// (right-trimmed; an empty text matches every row), in table order, at most capacity of them.
SetProductSearchResult searchSetProducts(const StockMaster& stocks, const QString& codeText,
                                         const QString& nameText, int capacity = listCapacity);

// The first set product of the stock master, in table order, whose code is exactly code.
std::optional<SetProduct> findSetProduct(const StockMaster& stocks, const QString& code);

} // namespace setzaiko
