#include "workbook/RowAssembler.h"

#include "support/MemoryWorkbook.h"
#include "support/ScriptedCells.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

using Row = std::vector<CellValue>;

// The layout of a sheet read as it goes, once it has ended.
SheetLayout asRead(int rows, int columns)
{
    SheetLayout layout{rows, columns};
    layout.known = false;
    return layout;
}

TEST(RowAssembler, TurnsStreamedCellsIntoRowsOfTheRequestedColumns)
{
    const CellValue none = empty();
    const auto a = text(u"a"_s);
    const auto b = text(u"b"_s);
    const auto c = text(u"c"_s);
    struct Case
    {
        const char* name;
        SheetLayout layout;
        std::vector<ScriptedCells::Step> steps;
        int columnCount;
        std::vector<Row> rows; // handed out before the end or the failure, after the last restart
        std::optional<WorkbookFailure> failure = std::nullopt;
        int failAt = -1;
        int cellsBeforeFirstRow = -1;
        int restarts = 0;
        bool restartAtEnd = false;
    };
    const Case cases[] = {
        // A sheet read whole.
        {"rows without cells are blank rows, gaps are empty cells",
         {3, 2, true},
         {at(0, 0, a), at(2, 1, number(7))},
         2,
         {{a, none}, {none, none}, {none, number(7)}}},
        {"the used part, not the last value, decides the last row",
         {3, 1, true},
         {at(0, 0, a)},
         1,
         {{a}, {none}, {none}}},
        {"columns beyond the requested ones are not read",
         {1, 3, true},
         {at(0, 0, a), at(0, 2, c)},
         1,
         {{a}}},
        {"of a position stored twice the later wins, an empty one too",
         {1, 2, true},
         {at(0, 0, a), at(0, 0, b), at(0, 1, c), at(0, 1, none)},
         2,
         {{b, none}}},
        {"rows stored out of order come out in sheet order, the later copy winning",
         {3, 1, false},
         {at(2, 0, c), at(0, 0, a), at(2, 0, text(u"d"_s)), at(0, 3, text(u"x"_s))},
         1,
         {{a}, {none}, {text(u"d"_s)}}},
        {"a requested column beyond the used part fails the first row",
         {2, 2, true},
         {at(0, 0, a)},
         3,
         {},
         WorkbookFailure::NarrowSheet},
        {"a sheet without rows has no column to fail", {0, 0, true}, {}, 10, {}},
        {"no columns requested: rows only", {2, 0, true}, {}, 0, {{}, {}}},
        {"a cell after a later row, where the rows were said to be in order, is damage",
         {2, 1, true},
         {at(1, 0, b), at(0, 0, a)},
         1,
         {{none}},
         WorkbookFailure::Damaged},
        {"a cell below the used part is damage, not a dropped cell",
         {1, 1, true},
         {at(0, 0, a), at(1, 0, b)},
         1,
         {{a}},
         WorkbookFailure::Damaged},
        {"damage in the middle of the stream fails the row it is found in",
         {3, 1, true},
         {at(0, 0, a), at(1, 0, b), at(2, 0, c)},
         1,
         {{a}},
         WorkbookFailure::Damaged,
         2},
        {"damage anywhere in a sheet stored out of order fails before the first row",
         {2, 1, false},
         {at(1, 0, b), at(0, 0, a)},
         1,
         {},
         WorkbookFailure::Damaged,
         1},
        {"damage before the first cell",
         {1, 1, true},
         {at(0, 0, a)},
         1,
         {},
         WorkbookFailure::Damaged,
         ScriptedCells::failAtStart},
        // A sheet read as it goes.
        {"a row goes out once a later row has come",
         asRead(4, 2),
         {at(0, 0, a), at(0, 1, b), at(2, 0, c)},
         2,
         {{a, b}, {none, none}, {c, none}, {none, none}},
         std::nullopt,
         -1,
         3},
        {"cells are held until the sheet is wide enough, then go out",
         asRead(3, 3),
         {at(0, 0, a), at(1, 0, b), {at(2, 0, c), false, 3}},
         2,
         {{a, none}, {b, none}, {c, none}},
         std::nullopt,
         -1,
         3},
        {"a sheet found too narrow at its end fails before its first row",
         asRead(2, 2),
         {at(0, 0, a), at(1, 1, b)},
         3,
         {},
         WorkbookFailure::NarrowSheet},
        {"cells taken back take their rows back; the sheet starts over in order",
         asRead(3, 1),
         {at(0, 0, a), at(1, 0, b), at(2, 0, c), {at(0, 0, c), true}, at(2, 0, a)},
         1,
         {{c}, {none}, {a}},
         std::nullopt,
         -1,
         2,
         1},
        {"taken back at the end with no cell after, the used part's rows still come",
         asRead(2, 1),
         {at(0, 0, a), at(1, 0, b), at(2, 0, c)},
         1,
         {{none}, {none}},
         std::nullopt,
         -1,
         2,
         1,
         true},
        {"taken back while held, nothing goes out twice",
         asRead(2, 2),
         {at(0, 0, a), {at(0, 0, b), true}, {at(1, 0, c), false, 2}},
         2,
         {{b, none}, {c, none}},
         std::nullopt,
         -1,
         3},
        {"damage after rows went out fails the next row and takes them back",
         asRead(3, 1),
         {at(0, 0, a), at(1, 0, b), at(2, 0, c)},
         1,
         {},
         WorkbookFailure::Damaged,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto stream = std::make_unique<ScriptedCells>(c.layout, c.steps, c.failAt, c.restartAtEnd);
        const ScriptedCells& cells = *stream;
        RowAssembler table(std::move(stream), c.columnCount);
        std::vector<Row> rows;
        int cellsBeforeFirstRow = -1;
        int restarts = 0;
        std::optional<WorkbookFailure> failure;
        Row row{text(u"left over from an earlier row"_s)};
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
            EXPECT_FALSE(table.nextRow(row)) << "the end stays the end";
        } catch (const WorkbookError& error) {
            failure = error.kind();
            // Rows released as read are taken back by a failure; rows of a sheet read whole
            // stand.
            if (table.releasesRowsAsRead()) {
                rows.clear();
            }
        }
        EXPECT_EQ(table.releasesRowsAsRead(),
                  !c.layout.known && c.failAt != ScriptedCells::failAtStart);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(failure, c.failure);
        EXPECT_EQ(restarts, c.restarts);
        if (c.cellsBeforeFirstRow >= 0) {
            EXPECT_EQ(cellsBeforeFirstRow, c.cellsBeforeFirstRow);
        }
    }
}

} // namespace
