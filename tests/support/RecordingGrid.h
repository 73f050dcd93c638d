#pragma once

#include "component/ShownComponentRow.h"

#include <array>
#include <optional>
#include <vector>

namespace setzaiko::testing {

// The component list in memory, rows 1 to 100, as rows written one after another leave it.
class RecordingGrid
{
public:
    static constexpr int rows = 101;

    void write(const std::vector<ComponentRow>& written)
    {
        for (const ComponentRow& row : written) {
            m_rows.at(static_cast<std::size_t>(row.rowNumber - 1)).show(row);
        }
    }

    QString text(int row, int column) const { return at(row).text(column); }
    std::optional<CellColours> colours(int row, int column) const
    {
        return column == shortageColumn ? at(row).shortageColours() : std::nullopt;
    }

private:
    const ShownComponentRow& at(int row) const
    {
        return m_rows.at(static_cast<std::size_t>(row - 1));
    }

    std::array<ShownComponentRow, rows - 1> m_rows;
};

} // namespace setzaiko::testing
