#include "workbook/RowAssembler.h"

#include "support/MemoryWorkbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

using Row = std::vector<CellValue>;

// Hands out the given cells as they stand; fails at start, or at the cell of index failAt.
class ListedCells : public CellStream
{
public:
    ListedCells(SheetLayout layout, std::vector<StreamedCell> cells, int failAt)
        : m_layout(layout), m_cells(std::move(cells)), m_failAt(failAt)
    {}

    SheetLayout start() override
    {
        if (m_failAt == failAtStart) {
            throw WorkbookError("damaged before the first cell");
        }
        return m_layout;
    }

    bool next(StreamedCell& cell) override
    {
        if (static_cast<int>(m_next) == m_failAt) {
            throw WorkbookError("damaged in the middle");
        }
        if (m_next >= m_cells.size()) {
            return false;
        }
        cell = m_cells[m_next++];
        return true;
    }

    static constexpr int failAtStart = -2;

private:
    SheetLayout m_layout;
    std::vector<StreamedCell> m_cells;
    int m_failAt;
    std::size_t m_next = 0;
};

StreamedCell at(int row, int column, CellValue value)
{
    return {row, column, std::move(value)};
}

TEST(RowAssembler, TurnsStreamedCellsIntoRowsOfTheRequestedColumns)
{
    const CellValue none = empty();
    struct Case
    {
        const char* name;
        SheetLayout layout;
        std::vector<StreamedCell> cells;
        int columnCount;
        std::vector<Row> rows; // handed out before the end or the failure
        std::optional<WorkbookFailure> failure = std::nullopt;
        int failAt = -1;
    };
    const Case cases[] = {
        {"rows without cells are blank rows, gaps are empty cells",
         {3, 2, true},
         {at(0, 0, text(u"a"_s)), at(2, 1, number(7))},
         2,
         {{text(u"a"_s), none}, {none, none}, {none, number(7)}}},
        {"the used part, not the last value, decides the last row",
         {3, 1, true},
         {at(0, 0, text(u"a"_s))},
         1,
         {{text(u"a"_s)}, {none}, {none}}},
        {"columns beyond the requested ones are not read",
         {1, 3, true},
         {at(0, 0, text(u"a"_s)), at(0, 2, text(u"c"_s))},
         1,
         {{text(u"a"_s)}}},
        {"of a position stored twice the later wins, an empty one too",
         {1, 2, true},
         {at(0, 0, text(u"a"_s)), at(0, 0, text(u"b"_s)), at(0, 1, text(u"c"_s)), at(0, 1, none)},
         2,
         {{text(u"b"_s), none}}},
        {"rows stored out of order come out in sheet order, the later copy winning",
         {3, 1, false},
         {at(2, 0, text(u"c"_s)), at(0, 0, text(u"a"_s)), at(2, 0, text(u"d"_s)),
          at(0, 3, text(u"x"_s))},
         1,
         {{text(u"a"_s)}, {none}, {text(u"d"_s)}}},
        {"a requested column beyond the used part fails the first row",
         {2, 2, true},
         {at(0, 0, text(u"a"_s))},
         3,
         {},
         WorkbookFailure::NarrowSheet},
        {"a sheet without rows has no column to fail", {0, 0, true}, {}, 10, {}},
        {"no columns requested: rows only", {2, 0, true}, {}, 0, {{}, {}}},
        {"a cell after a later row, where the rows were said to be in order, is damage",
         {2, 1, true},
         {at(1, 0, text(u"b"_s)), at(0, 0, text(u"a"_s))},
         1,
         {{none}},
         WorkbookFailure::Damaged},
        {"a cell below the used part is damage, not a dropped cell",
         {1, 1, true},
         {at(0, 0, text(u"a"_s)), at(1, 0, text(u"b"_s))},
         1,
         {{text(u"a"_s)}},
         WorkbookFailure::Damaged},
        {"damage in the middle of the stream fails the row it is found in",
         {3, 1, true},
         {at(0, 0, text(u"a"_s)), at(1, 0, text(u"b"_s)), at(2, 0, text(u"c"_s))},
         1,
         {{text(u"a"_s)}},
         WorkbookFailure::Damaged,
         2},
        {"damage anywhere in a sheet stored out of order fails before the first row",
         {2, 1, false},
         {at(1, 0, text(u"b"_s)), at(0, 0, text(u"a"_s))},
         1,
         {},
         WorkbookFailure::Damaged,
         1},
        {"damage before the first cell",
         {1, 1, true},
         {at(0, 0, text(u"a"_s))},
         1,
         {},
         WorkbookFailure::Damaged,
         ListedCells::failAtStart},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowAssembler table(std::make_unique<ListedCells>(c.layout, c.cells, c.failAt),
                           c.columnCount);
        std::vector<Row> rows;
        std::optional<WorkbookFailure> failure;
        Row row{text(u"left over from an earlier row"_s)};
        try {
            while (table.nextRow(row)) {
                rows.push_back(row);
            }
            EXPECT_FALSE(table.nextRow(row)) << "the end stays the end";
        } catch (const WorkbookError& error) {
            failure = error.kind();
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(failure, c.failure);
    }
}

// Hands out cells as a reader does that reads its sheet as it goes: the used part grows cell by
// cell (a cell at row r, column c makes it at least r+1 by c+1, and wider cells the reader keeps
// to itself count through `wider`), and the cells may be taken back before a given one.
class CellsAsRead : public CellStream
{
public:
    struct Step
    {
        StreamedCell cell;
        bool restartBefore = false;
        int wider = 0; // the used part's columns so far, where more than the cell makes them
    };

    CellsAsRead(std::vector<Step> steps, SheetLayout last, bool restartAtEnd, int failAt)
        : m_steps(std::move(steps)), m_last(last), m_restartAtEnd(restartAtEnd), m_failAt(failAt)
    {}

    SheetLayout start() override
    {
        SheetLayout layout;
        layout.known = false;
        return layout;
    }

    bool next(StreamedCell& cell) override
    {
        if (static_cast<int>(m_next) == m_failAt) {
            throw WorkbookError("damaged in the middle");
        }
        if (m_next == m_steps.size()) {
            m_soFar = m_last;
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

    SheetLayout layoutSoFar() const override { return m_soFar; }
    int restarts() const override { return m_restarts; }
    std::size_t cellsHandedOut() const { return m_next; }

private:
    std::vector<Step> m_steps;
    SheetLayout m_last;
    bool m_restartAtEnd;
    int m_failAt;
    std::size_t m_next = 0;
    SheetLayout m_soFar;
    int m_restarts = 0;
    bool m_ended = false;
};

TEST(RowAssembler, RowsOfASheetReadAsItGoes)
{
    const CellValue none = empty();
    const auto a = text(u"a"_s);
    const auto b = text(u"b"_s);
    const auto c = text(u"c"_s);
    using Step = CellsAsRead::Step;
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        SheetLayout last; // the used part once the sheet has ended
        int columnCount;
        std::vector<Row> rows; // after the last restart
        int cellsBeforeFirstRow = -1;
        int restarts = 0;
        std::optional<WorkbookFailure> failure = std::nullopt;
        bool restartAtEnd = false;
        int failAt = -1;
    };
    const Case cases[] = {
        {"a row goes out once a later row has come",
         {{at(0, 0, a)}, {at(0, 1, b)}, {at(2, 0, c)}},
         {4, 2},
         2,
         {{a, b}, {none, none}, {c, none}, {none, none}},
         3},
        {"cells are held until the sheet is wide enough, then go out",
         {{at(0, 0, a)}, {at(1, 0, b)}, {at(2, 0, c), false, 3}},
         {3, 3},
         2,
         {{a, none}, {b, none}, {c, none}},
         3},
        {"a sheet found too narrow at its end fails before its first row",
         {{at(0, 0, a)}, {at(1, 1, b)}},
         {2, 2},
         3,
         {},
         2,
         0,
         WorkbookFailure::NarrowSheet},
        {"cells taken back take their rows back; the sheet starts over in order",
         {{at(0, 0, a)}, {at(1, 0, b)}, {at(2, 0, c)}, {at(0, 0, c), true}, {at(2, 0, a)}},
         {3, 1},
         1,
         {{c}, {none}, {a}},
         2,
         1},
        {"taken back at the end with no cell after, the used part's rows still come",
         {{at(0, 0, a)}, {at(1, 0, b)}, {at(2, 0, c)}},
         {2, 1},
         1,
         {{none}, {none}},
         2,
         1,
         std::nullopt,
         true},
        {"taken back while held, nothing goes out twice",
         {{at(0, 0, a)}, {at(0, 0, b), true}, {at(1, 0, c), false, 2}},
         {2, 2},
         2,
         {{b, none}, {c, none}},
         3},
        {"damage after rows went out fails the next row and takes them back",
         {{at(0, 0, a)}, {at(1, 0, b)}, {at(2, 0, c)}},
         {3, 1},
         1,
         {},
         2,
         0,
         WorkbookFailure::Damaged,
         false,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto stream = std::make_unique<CellsAsRead>(c.steps, c.last, c.restartAtEnd, c.failAt);
        const CellsAsRead& cells = *stream;
        RowAssembler table(std::move(stream), c.columnCount);
        std::vector<Row> rows;
        int cellsBeforeFirstRow = -1;
        int restarts = 0;
        std::optional<WorkbookFailure> failure;
        Row row;
        try {
            for (;;) {
                const bool more = table.nextRow(row);
                if (table.restarted()) {
                    rows.clear();
                    ++restarts;
                }
                if (!more) {
                    break;
                }
                if (cellsBeforeFirstRow < 0) {
                    cellsBeforeFirstRow = static_cast<int>(cells.cellsHandedOut());
                }
                rows.push_back(row);
            }
        } catch (const WorkbookError& error) {
            failure = error.kind();
            EXPECT_TRUE(table.releasesRowsAsRead());
            rows.clear();
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(failure, c.failure);
        EXPECT_EQ(restarts, c.restarts);
        if (c.cellsBeforeFirstRow >= 0 && !c.failure) {
            EXPECT_EQ(cellsBeforeFirstRow, c.cellsBeforeFirstRow);
        }
    }
}

} // namespace
