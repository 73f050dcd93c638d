#include "support/ScriptedCells.h"

#include "workbook/Workbook.h"

#include <algorithm>

namespace setzaiko::testing {

ScriptedCells::ScriptedCells(SheetLayout layout, std::vector<Step> steps, int failAt,
                             bool restartAtEnd)
    : m_layout(layout), m_steps(std::move(steps)), m_failAt(failAt), m_restartAtEnd(restartAtEnd)
{}

SheetLayout ScriptedCells::start()
{
    if (m_failAt == failAtStart) {
        throw WorkbookError("damaged before the first cell");
    }
    if (m_layout.known) {
        return m_layout;
    }
    SheetLayout layout;
    layout.known = false;
    return layout;
}

bool ScriptedCells::next(StreamedCell& cell)
{
    if (static_cast<int>(m_next) == m_failAt) {
        throw WorkbookError("damaged in the middle");
    }
    if (m_next == m_steps.size()) {
        m_soFar = m_layout;
        m_restarts += m_restartAtEnd && !m_ended ? 1 : 0;
        m_ended = true;
        return false;
    }
    const Step& step = m_steps[m_next++];
    cell = step.cell;
    m_restarts += step.restartBefore ? 1 : 0;
    m_soFar.rows = std::max(m_soFar.rows, cell.row + 1);
    m_soFar.columns = std::max({m_soFar.columns, cell.column + 1, step.wider});
    return true;
}

} // namespace setzaiko::testing
