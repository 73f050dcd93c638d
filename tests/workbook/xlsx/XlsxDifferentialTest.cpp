// The SpreadsheetML reader against openpyxl (data_only, formulas by their cached value): every
// worksheet, its used part and every cell of every workbook the tests have, and the rows of
// each table as the import reads them.

#include "support/TableRows.h"
#include "workbook/xls/WorkbookFixtures.h"
#include "workbook/xls/WorkbookOracles.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/XlsxFixtures.h"
#include "workbook/xlsx/XlsxWorkbook.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

using Grid = std::map<std::pair<int, int>, CellValue>;

// The sheet's values by position, a later cell of one position replacing an earlier one.
Grid gridOf(const xlsx::XlsxWorkbook& workbook, const xlsx::WorksheetCells& cells)
{
    Grid grid;
    xlsx::WorksheetCells::Reader reader(cells);
    xlsx::SheetValue value;
    while (reader.next(value)) {
        CellValue cell;
        switch (value.kind) {
        case xlsx::SheetValue::Kind::Number:
            cell = CellValue::fromNumber(value.number);
            break;
        case xlsx::SheetValue::Kind::SharedText:
            cell = CellValue::fromText(workbook.sharedStrings().at(value.sharedIndex));
            break;
        case xlsx::SheetValue::Kind::Text:
        case xlsx::SheetValue::Kind::EscapedText:
            cell = CellValue::fromText(value.ownText());
            break;
        }
        grid[{static_cast<int>(value.row), static_cast<int>(value.column)}] = cell;
    }
    return grid;
}

void expectCellAsOracle(const CellValue& mine, const OracleCell& oracle)
{
    using Kind = OracleCell::Kind;
    switch (oracle.kind) {
    case Kind::Number:
        ASSERT_TRUE(mine.isNumber());
        EXPECT_EQ(mine.number, oracle.number);
        break;
    case Kind::Text:
    case Kind::Boolean:
    case Kind::Error:
        ASSERT_EQ(mine.kind, CellValue::Kind::Text);
        EXPECT_EQ(mine.text, oracle.text);
        break;
    default:
        // openpyxl gives no value for a formula whose cached text is empty.
        EXPECT_TRUE(mine.isEmpty() || (mine.kind == CellValue::Kind::Text && mine.text.isEmpty()))
            << mine.toText().toStdString();
        break;
    }
}

} // namespace

void setzaiko::testing::expectWorkbookAsOracle(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    const OracleWorkbook oracle = readWithOpenpyxl(path);
    ASSERT_TRUE(oracle.readable) << oracle.failure.toStdString();
    const auto workbook = xlsx::XlsxWorkbook::openFile(path);
    ASSERT_EQ(workbook->sheetCount(), static_cast<int>(oracle.sheets.size()));
    for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
        const OracleSheet& expected = oracle.sheets[static_cast<std::size_t>(sheet)];
        SCOPED_TRACE(expected.name.toStdString());
        EXPECT_EQ(workbook->sheetName(sheet), expected.name);
        const xlsx::WorksheetCells cells = workbook->readCells(sheet);
        EXPECT_EQ(cells.rows, expected.rows);
        EXPECT_EQ(cells.columns, expected.columns);
        const Grid grid = gridOf(*workbook, cells);
        for (const auto& [position, cell] : expected.cells) {
            SCOPED_TRACE("row " + std::to_string(position.first) + " column " +
                         std::to_string(position.second));
            const auto mine = grid.find(position);
            expectCellAsOracle(mine == grid.end() ? CellValue{} : mine->second, cell);
        }
        for (const auto& [position, cell] : grid) {
            EXPECT_TRUE(expected.cells.count(position))
                << "a value openpyxl does not see at row " << position.first << " column "
                << position.second;
        }

        // The table hands out the same values row by row, however the file orders them.
        auto table = workbook->openSheet(expected.name, cells.columns);
        std::vector<CellValue> row;
        int rows = 0;
        while (table->nextRow(row)) {
            for (int column = 0; column < cells.columns; ++column) {
                const auto mine = grid.find({rows, column});
                ASSERT_EQ(row[static_cast<std::size_t>(column)],
                          mine == grid.end() ? CellValue{} : mine->second)
                    << "table row " << rows << " column " << column;
            }
            ++rows;
        }
        EXPECT_EQ(rows, cells.rows);
        expectReleasesAgree(*workbook, expected.name, cells.columns);
    }
}

void setzaiko::testing::expectReleasesAgree(Workbook& workbook, const QString& sheet,
                                            int columnCount)
{
    SCOPED_TRACE("released as read: " + sheet.toStdString());
    const TableRows whole =
        readTableRows(*workbook.openSheet(sheet, columnCount, RowRelease::WholeSheet));
    const TableRows asRead =
        readTableRows(*workbook.openSheet(sheet, columnCount, RowRelease::AsRead));
    EXPECT_EQ(asRead.detail, whole.detail);
    EXPECT_EQ(asRead.rows.size(), whole.rows.size());
    EXPECT_TRUE(asRead == whole);
}

namespace {

TEST(XlsxDifferential, EveryCellOfEveryWorkbookAsOpenpyxlReadsIt)
{
    int compared = 0;
    for (const QString& path : committedXlsxWorkbooks() + generatedXlsxWorkbooks()) {
        // openpyxl knows only the transitional namespaces; the strict twin is compared below.
        if (QFileInfo(path).fileName().contains(u"strict"_s)) {
            continue;
        }
        expectWorkbookAsOracle(path);
        ++compared;
    }
    EXPECT_GE(compared, 9);
}

TEST(XlsxDifferential, StrictPackageWithOtherSheetKindsReadsAsItsTransitionalTwin)
{
    const QString folder = generatedFolder() + u"/xlsx/"_s;
    const auto strict = xlsx::XlsxWorkbook::openFile(folder + u"cells_strict.xlsx"_s);
    const auto transitional = xlsx::XlsxWorkbook::openFile(folder + u"cells.xlsx"_s);
    // The chart, dialog and macro sheets between the worksheets are no tables.
    EXPECT_EQ(strict->sheetNames(), (QStringList{u"値"_s, u"商品マスタ"_s}));
    ASSERT_EQ(strict->sheetNames(), transitional->sheetNames());
    EXPECT_EQ(strict->sharedStrings(), transitional->sharedStrings());
    for (int sheet = 0; sheet < strict->sheetCount(); ++sheet) {
        const xlsx::WorksheetCells a = strict->readCells(sheet);
        const xlsx::WorksheetCells b = transitional->readCells(sheet);
        EXPECT_EQ(a.rows, b.rows);
        EXPECT_EQ(a.columns, b.columns);
        EXPECT_EQ(gridOf(*strict, a), gridOf(*transitional, b));
    }
}

// What the hand-made package holds, spelled out, so that a misreading openpyxl shares cannot
// pass unnoticed.
TEST(XlsxDifferential, StringItemsJoinRunsAndDropPhoneticsAndEscapes)
{
    const auto workbook = xlsx::XlsxWorkbook::openFile(generatedFolder() + u"/xlsx/cells.xlsx"_s);
    const QStringList expected = {
        u"plain"_s,
        u"リッチテキスト"_s,
        u"  前後に空白  "_s,
        u"あ&<A>"_s,
        u"\r\n改行_x0041_ é _xZZZZ_ _x41_"_s,
        u"漢字"_s,
        u"前  後"_s,
        QString(),
    };
    EXPECT_EQ(workbook->sharedStrings().toList(), expected);
    const xlsx::WorksheetCells cells = workbook->readCells(0);
    const Grid grid = gridOf(*workbook, cells);
    const struct
    {
        int row, column;
        CellValue value;
    } spots[] = {
        {1, 0, CellValue::fromText(u"inline"_s)},   {1, 1, CellValue::fromText(u"太字 と細字"_s)},
        {1, 2, CellValue::fromText(u"A_x0042_"_s)}, {1, 4, CellValue::fromNumber(1.5e20)},
        {2, 2, CellValue::fromText(u"TRUE"_s)},     {2, 4, CellValue::fromText(u"#DIV/0!"_s)},
        {3, 1, CellValue::fromNumber(45383.5)},     {5, 0, CellValue::fromNumber(3)},
        {5, 2, CellValue::fromText(u"ab"_s)},       {5, 4, CellValue::fromText(QString())},
    };
    for (const auto& spot : spots) {
        const auto found = grid.find({spot.row, spot.column});
        ASSERT_NE(found, grid.end()) << spot.row << "," << spot.column;
        EXPECT_EQ(found->second, spot.value) << spot.row << "," << spot.column;
    }
    // A formula without a cached value is no value; the <dimension> claims A1:B2.
    EXPECT_FALSE(grid.count({5, 3}));
    EXPECT_EQ(cells.rows, 9);
    EXPECT_EQ(cells.columns, 10);
    EXPECT_FALSE(cells.rowsInOrder);
}

} // namespace
