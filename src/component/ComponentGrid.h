#pragma once

#include "component/ComponentRow.h"

#include <QString>

#include <vector>

namespace setzaiko {

// The component list as the component window's grid holds it: rows 1 to 100 below a heading
// row, ten columns. The window's grid and the command line's in-memory grid both take the
// engine's rows through it, so that both write the same cells in the same order.
class ComponentGrid
{
public:
    virtual ~ComponentGrid() = default;
    virtual void setText(int row, int column, const QString& text) = 0;
    virtual void setColours(int row, int column, const CellColours& colours) = 0;
};

// Writes each row's cells column by column, as far as each row was computed; the shortage
// cell gets its colours as it is written.
void writeComponentRows(ComponentGrid& grid, const std::vector<ComponentRow>& rows);

} // namespace setzaiko
