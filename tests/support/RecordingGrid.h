#pragma once

#include "component/ComponentGrid.h"

#include <array>
#include <optional>

namespace setzaiko::testing {

// The component grid in memory: what each cell holds and the colours it was last given.
class RecordingGrid : public ComponentGrid
{
public:
    static constexpr int rows = 101;

    void setText(int row, int column, const QString& text) override { at(row, column).text = text; }
    void setColours(int row, int column, const CellColours& colours) override
    {
        at(row, column).colours = colours;
    }

    const QString& text(int row, int column) const { return m_cells[row][column].text; }
    const std::optional<CellColours>& colours(int row, int column) const
    {
        return m_cells[row][column].colours;
    }

private:
    struct Cell
    {
        QString text;
        std::optional<CellColours> colours;
    };
    Cell& at(int row, int column) { return m_cells.at(row).at(column); }

    std::array<std::array<Cell, ComponentRow::columnCount>, rows> m_cells;
};

} // namespace setzaiko::testing
