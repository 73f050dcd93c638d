#include "workbook/RowAssembler.h"

#include "support/MemoryWorkbook.h"

#include <gtest/gtest.h>

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

} // namespace
