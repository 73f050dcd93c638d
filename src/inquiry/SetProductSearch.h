#pragma once

#include "master/StockMaster.h"

#include <QString>

#include <array>
#include <vector>

namespace setzaiko {

// The seven cell texts of one row of the set product list: No., name, code, stock, unit,
// remarks, and an always empty last column.
using SetProductListRow = std::array<QString, 7>;

// What the inquiry hands on for the chosen row: the texts of columns 1 to 4 as displayed.
struct SetProductSelection
{
    QString LblSname;
    QString LblScode;
    QString LblZaikosu;
    QString LblTani;
};

struct SetProductSearchResult
{
    bool filtered = false; // a code or a name text was entered
    std::vector<SetProductListRow> rows;
    // The scan stopped at a set product that would have been row capacity + 1: the box text
    // is shown first, then the message line.
    bool limitReached = false;
    QString limitBox;
    QString limitLine;
    SetProductSelection selection; // row 1, or four empty texts
};

inline constexpr int listCapacity = 100;

// Lists the set products of the stock master whose code and name contain the entered texts
// (right-trimmed; an empty text matches every row), in table order, at most capacity rows.
SetProductSearchResult searchSetProducts(const StockMaster& stocks, const QString& codeText,
                                         const QString& nameText, int capacity = listCapacity);

} // namespace setzaiko
