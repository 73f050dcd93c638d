#pragma once

#include "component/ComponentRow.h"

#include <QString>

#include <bitset>
#include <optional>

namespace setzaiko {

// One row of the component list as it stands on screen. Each step writes a row's cells from
// column 0 up to where it got, so a step that fails part way leaves the row holding its new
// first cells next to the older ones; cells never written stay blank.
class ShownComponentRow
{
public:
    // Takes over the first row.columnsWritten cells of the row.
    void show(const ComponentRow& row);

    bool isShown(int column) const { return m_shown.test(static_cast<std::size_t>(column)); }
    const ComponentRow& values() const { return m_values; }

    // What the cell shows: the value in its display format, or blank.
    QString text(int column) const;
    // The colours the shortage cell took when it was last written; nullopt before that.
    std::optional<CellColours> shortageColours() const;

    // The number of a numeric cell; nullopt for a blank cell.
    std::optional<std::int32_t> number(int column) const;

private:
    ComponentRow m_values;
    std::bitset<ComponentRow::columnCount> m_shown;
};

} // namespace setzaiko
