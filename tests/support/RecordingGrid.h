#pragma once

#include "component/ComponentRow.h"
#include "screen/ComponentCells.h"

#include <array>
#include <bitset>
#include <optional>
#include <vector>

namespace setzaiko::testing {

// The component list in memory, rows 1 to 100, as rows written one after another leave it:
// each row's cells from column 0 up to where its step got, the others as they were.
class RecordingGrid
{
public:
    static constexpr int rows = 101;

    void write(const std::vector<ComponentRow>& written)
    {
        for (const ComponentRow& row : written) {
            Row& to = m_rows.at(static_cast<std::size_t>(row.rowNumber - 1));
            for (int column = 0; column < cellsWritten(row); ++column) {
                to.texts.at(static_cast<std::size_t>(column)) = componentCellText(row, column);
            }
            if (cellsWritten(row) > componentcolumn::shortage) {
                to.shortage = row.isShort() ? CellRole::Shortage : CellRole::Plain;
            }
        }
    }

    QString text(int row, int column) const
    {
        return at(row).texts.at(static_cast<std::size_t>(column));
    }
    std::optional<CellRole> role(int row, int column) const
    {
        return column == componentcolumn::shortage ? at(row).shortage : std::nullopt;
    }

private:
    struct Row
    {
        std::array<QString, componentcolumn::count> texts;
        std::optional<CellRole> shortage;
    };
    const Row& at(int row) const { return m_rows.at(static_cast<std::size_t>(row - 1)); }

    std::array<Row, rows - 1> m_rows;
};

} // namespace setzaiko::testing
