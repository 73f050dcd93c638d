#pragma once

#include "ui/FlexGrid.h"

#include <QStringList>

namespace setzaiko::testing {

// The texts of one grid row, the fixed column first.
inline QStringList rowOf(const FlexGrid* grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid->columns(); ++column) {
        cells << grid->text(row, column);
    }
    return cells;
}

// The product codes of the listed rows, up to the first blank row.
inline QStringList listedCodes(const FlexGrid* grid)
{
    QStringList codes;
    for (int row = 1; row < grid->rows() && !grid->text(row, 0).isEmpty(); ++row) {
        codes << grid->text(row, 2);
    }
    return codes;
}

} // namespace setzaiko::testing
