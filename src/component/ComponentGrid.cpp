#include "component/ComponentGrid.h"

namespace setzaiko {

void writeComponentRows(ComponentGrid& grid, const std::vector<ComponentRow>& rows)
{
    for (const ComponentRow& row : rows) {
        for (int column = 0; column < row.columnsWritten; ++column) {
            grid.setText(row.RowNo, column, row.text(column));
            if (column == shortageColumn) {
                grid.setColours(row.RowNo, column, shortageColours(row.isShort()));
            }
        }
    }
}

} // namespace setzaiko
