#pragma once

#include "workbook/CellStream.h"

#include <vector>

namespace setzaiko::testing {

// A sheet's cells handed out as scripted. Where its layout is known, it says so at start, as a
// reader does that has read its sheet whole. Otherwise it hands the cells out as a reader does
// that reads as it goes: the used part grows cell by cell (a cell at row r, column c makes it at
// least r+1 by c+1; wider cells the reader keeps to itself count through a step's `wider`), the
// layout given is the sheet's once it has ended, and the cells may be taken back before a
// given one, or at the end. It fails at start, or at the cell of index failAt.
class ScriptedCells : public CellStream
{
public:
    struct Step
    {
        Step(StreamedCell cell, bool restartBefore = false, int wider = 0)
            : cell(std::move(cell)), restartBefore(restartBefore), wider(wider)
        {}

        StreamedCell cell;
        bool restartBefore;
        int wider; // the used part's columns so far, where more than the cell makes them
    };
    static constexpr int failAtStart = -2;

    ScriptedCells(SheetLayout layout, std::vector<Step> steps, int failAt = -1,
                  bool restartAtEnd = false);

    SheetLayout start() override;
    bool next(StreamedCell& cell) override;
    SheetLayout layoutSoFar() const override { return m_soFar; }
    int restarts() const override { return m_restarts; }

    std::size_t cellsHandedOut() const { return m_next; }

private:
    SheetLayout m_layout;
    std::vector<Step> m_steps;
    int m_failAt;
    bool m_restartAtEnd;
    std::size_t m_next = 0;
    SheetLayout m_soFar;
    int m_restarts = 0;
    bool m_ended = false;
};

inline StreamedCell at(int row, int column, CellValue value)
{
    return {row, column, std::move(value)};
}

} // namespace setzaiko::testing
