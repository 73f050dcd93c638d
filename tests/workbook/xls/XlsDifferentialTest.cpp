// Our reader against two independent ones, cell by cell, over every workbook we have.

#include "support/WorkbookSnapshot.h"
#include "workbook/xls/WorkbookFixtures.h"
#include "workbook/xls/WorkbookOracles.h"
#include "workbook/xls/XlsWorkbook.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <map>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

using Kind = OracleCell::Kind;
using Position = std::pair<int, int>;

// FreeXL counts 2100 as a leap year, so its date texts are a day early from 2100-03-01 on,
// and it shows serials below 1 as 1900-01-01. Those cells are still compared with xlrd's
// exact serial; only FreeXL's text is passed over.
bool freeXlDateTextReliable(double serial, bool dates1904)
{
    return serial >= 1.0 && serial < (dates1904 ? 71648.0 : 73110.0);
}

// Exactly the same double; the sign of a zero is not held against a reader.
bool sameNumber(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (a == 0.0 && b == 0.0);
}

QString show(const CellValue& value)
{
    switch (value.kind) {
    case CellValue::Kind::Empty:
        return u"empty"_s;
    case CellValue::Kind::Number:
        return u"number %1"_s.arg(value.number, 0, 'g', 17);
    case CellValue::Kind::Text:
        return u"text \"%1\""_s.arg(value.text.left(80));
    }
    return {};
}

QString show(const OracleCell& cell)
{
    switch (cell.kind) {
    case Kind::Number:
        return u"number %1"_s.arg(cell.number, 0, 'g', 17);
    case Kind::Blank:
        return u"blank"_s;
    default:
        return u"%1 \"%2\""_s.arg(int(cell.kind)).arg(cell.text.left(80));
    }
}

bool isTextOf(const CellValue& value, const QString& text)
{
    return value.kind == CellValue::Kind::Text && value.text == text;
}

// Whether our value is what xlrd read (formula cells included: xlrd gives cached results).
bool matchesXlrd(const CellValue& ours, const OracleCell& xlrd)
{
    switch (xlrd.kind) {
    case Kind::Number:
        return ours.isNumber() && sameNumber(ours.number, xlrd.number);
    case Kind::Text:
    case Kind::Boolean:
    case Kind::Error:
        return isTextOf(ours, xlrd.text);
    case Kind::Blank:
        return ours.isEmpty();
    default:
        return false;
    }
}

// Whether our value of a cell that holds no formula is what FreeXL read.
bool matchesFreeXl(const CellValue& ours, const OracleCell& freexl, const OracleCell* xlrd,
                   bool dates1904, int& datesPassedOver)
{
    switch (freexl.kind) {
    case Kind::Number:
        if (ours.isNumber()) {
            return sameNumber(ours.number, freexl.number);
        }
        // FreeXL gives booleans as 0/1 and error values as integers; xlrd tells which it was.
        if (xlrd && (xlrd->kind == Kind::Boolean || xlrd->kind == Kind::Error)) {
            return xlrd->kind == Kind::Error ||
                   isTextOf(ours, freexl.number != 0.0 ? u"TRUE"_s : u"FALSE"_s);
        }
        return !xlrd && (isTextOf(ours, u"TRUE"_s) || isTextOf(ours, u"FALSE"_s) ||
                         ours.text.startsWith(u'#'));
    case Kind::Text:
        return isTextOf(ours, freexl.text);
    case Kind::Date:
    case Kind::DateTime:
    case Kind::Time: {
        if (!ours.isNumber()) {
            return false;
        }
        const double day = std::floor(ours.number);
        const double seconds = (ours.number - day) * 86400.0;
        auto sameTimeOfDay = [seconds](double textSeconds) {
            const double diff = std::fabs(seconds - textSeconds);
            return diff <= 1.0 || diff >= 86399.0; // FreeXL may round to the next second
        };
        const bool dateReliable = freeXlDateTextReliable(ours.number, dates1904);
        double serial = 0;
        if (freexl.kind == Kind::Time || !dateReliable) {
            if (!dateReliable) {
                ++datesPassedOver;
            }
            const QString time = freexl.text.right(8);
            return freexl.kind == Kind::Date ||
                   (serialFromDateText(time, dates1904, serial) && sameTimeOfDay(serial * 86400));
        }
        if (!serialFromDateText(freexl.text, dates1904, serial)) {
            return false;
        }
        if (freexl.kind == Kind::Date) {
            return day == serial;
        }
        return std::fabs(ours.number - serial) * 86400.0 <= 1.0;
    }
    default:
        return false;
    }
}

struct Findings
{
    QStringList problems;
    void add(const QString& problem)
    {
        if (problems.size() < 30) {
            problems.append(problem);
        }
    }
};

void compareSheet(const SheetSnapshot& ours, int sheetIndex, const OracleWorkbook& freexl,
                  const OracleWorkbook& xlrd, Findings& findings, int& formulaCells,
                  int& datesPassedOver)
{
    const QString where = u"sheet \"%1\""_s.arg(ours.name);
    const OracleSheet* fx =
        freexl.readable ? &freexl.sheets.at(static_cast<std::size_t>(sheetIndex)) : nullptr;
    const OracleSheet* xl =
        xlrd.readable ? &xlrd.sheets.at(static_cast<std::size_t>(sheetIndex)) : nullptr;

    std::map<Position, const xls::XlsCell*> cells;
    for (const SnapshotCell& c : ours.cells) {
        if (c.row < 0 || c.column < 0 || c.row >= ours.range.rows ||
            c.column >= ours.range.columns) {
            findings.add(u"%1: cell %2,%3 outside the used range %4x%5"_s.arg(where)
                             .arg(c.row)
                             .arg(c.column)
                             .arg(ours.range.rows)
                             .arg(ours.range.columns));
        }
        cells[{c.row, c.column}] = &c.cell;
    }

    for (const auto& [position, cell] : cells) {
        const QString at = u"%1 cell %2,%3 (%4%5)"_s.arg(where)
                               .arg(position.first)
                               .arg(position.second)
                               .arg(show(cell->value))
                               .arg(cell->formula ? u", formula"_s : QString());
        const OracleCell* x = nullptr;
        if (xl) {
            const auto it = xl->cells.find(position);
            x = it == xl->cells.end() ? nullptr : &it->second;
            if (x && !matchesXlrd(cell->value, *x)) {
                findings.add(u"%1: xlrd reads %2"_s.arg(at, show(*x)));
            } else if (!x && !cell->value.isEmpty() && !cell->formula) {
                findings.add(u"%1: xlrd reads nothing there"_s.arg(at));
            }
        }
        if (cell->formula) {
            ++formulaCells;
            if (!xl) {
                findings.add(u"%1: a formula cell, and xlrd cannot read the workbook"_s.arg(at));
            }
            continue; // FreeXL does not read formula results
        }
        if (fx) {
            const auto it = fx->cells.find(position);
            if (it != fx->cells.end()) {
                if (!matchesFreeXl(cell->value, it->second, x, freexl.dates1904, datesPassedOver)) {
                    findings.add(u"%1: FreeXL reads %2"_s.arg(at, show(it->second)));
                }
            } else if (!cell->value.isEmpty()) {
                findings.add(u"%1: FreeXL reads nothing there"_s.arg(at));
            }
        }
    }
    // Nothing an oracle read may be missing from ours.
    for (const OracleSheet* oracle : {fx, xl}) {
        if (!oracle) {
            continue;
        }
        for (const auto& [position, cell] : oracle->cells) {
            if (cell.kind != Kind::Blank && !cells.count(position)) {
                findings.add(u"%1 cell %2,%3: %4 reads %5, we read nothing"_s.arg(where)
                                 .arg(position.first)
                                 .arg(position.second)
                                 .arg(oracle == fx ? u"FreeXL"_s : u"xlrd"_s, show(cell)));
            }
        }
    }

    if (fx && (ours.range.rows != fx->rows || ours.range.columns != fx->columns)) {
        findings.add(u"%1: used range %2x%3, FreeXL's dimensions %4x%5"_s.arg(where)
                         .arg(ours.range.rows)
                         .arg(ours.range.columns)
                         .arg(fx->rows)
                         .arg(fx->columns));
    }

    // The table of the sheet gives the same values, row by row, as wide as the used part.
    if (static_cast<int>(ours.rows.size()) != ours.range.rows) {
        findings.add(u"%1: the table gives %2 rows, the used range has %3"_s.arg(where)
                         .arg(ours.rows.size())
                         .arg(ours.range.rows));
    }
    for (std::size_t r = 0; r < ours.rows.size(); ++r) {
        const auto& row = ours.rows[r];
        if (static_cast<int>(row.size()) != ours.range.columns) {
            findings.add(u"%1: table row %2 has %3 cells"_s.arg(where).arg(r).arg(row.size()));
            continue;
        }
        for (std::size_t c = 0; c < row.size(); ++c) {
            const auto it = cells.find({int(r), int(c)});
            const CellValue expected = it == cells.end() ? CellValue{} : it->second->value;
            if (!(row[c] == expected)) {
                findings.add(
                    u"%1: table cell %2,%3 is %4, the cell is %5"_s.arg(where).arg(r).arg(c).arg(
                        show(row[c]), show(expected)));
            }
        }
    }
}

// Reads one workbook with all three readers and reports every disagreement.
void compareWithOracles(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    const OracleWorkbook freexl = readWithFreeXl(path);
    const OracleWorkbook xlrd = readWithXlrd(path);
    ASSERT_FALSE(xlrd.failure.startsWith(u"xlrd_dump.py"_s)) << xlrd.failure.toStdString();

    WorkbookSnapshot ours;
    QString refusal;
    try {
        auto workbook = xls::XlsWorkbook::openFile(path);
        ours = readSnapshot(*workbook);
    } catch (const WorkbookError& error) {
        refusal = QString::fromStdString(error.what());
    }

    if (!freexl.readable && !xlrd.readable) {
        EXPECT_FALSE(refusal.isNull())
            << "neither FreeXL (" << freexl.failure.toStdString() << ") nor xlrd ("
            << xlrd.failure.toStdString() << ") reads it, but we do";
        return;
    }
    ASSERT_TRUE(refusal.isNull()) << "refused: " << refusal.toStdString()
                                  << (freexl.readable ? "; FreeXL reads it" : "")
                                  << (xlrd.readable ? "; xlrd reads it" : "");
    if (!freexl.readable) {
        std::printf("  %s: FreeXL cannot read it (%s), compared with xlrd only\n",
                    qPrintable(QFileInfo(path).fileName()), qPrintable(freexl.failure));
    }
    if (!xlrd.readable) {
        std::printf("  %s: xlrd cannot read it (%s), compared with FreeXL only\n",
                    qPrintable(QFileInfo(path).fileName()), qPrintable(xlrd.failure));
    }

    QStringList names;
    for (const SheetSnapshot& sheet : ours.sheets) {
        names.append(sheet.name);
    }
    for (const OracleWorkbook* oracle : {&freexl, &xlrd}) {
        if (oracle->readable) {
            QStringList theirs;
            for (const OracleSheet& sheet : oracle->sheets) {
                theirs.append(sheet.name);
            }
            EXPECT_EQ(names, theirs) << (oracle == &freexl ? "FreeXL" : "xlrd");
        }
    }
    EXPECT_EQ(ours.sheetNames, names);
    if (::testing::Test::HasFailure()) {
        return;
    }

    Findings findings;
    int formulaCells = 0;
    int datesPassedOver = 0;
    for (std::size_t s = 0; s < ours.sheets.size(); ++s) {
        compareSheet(ours.sheets[s], static_cast<int>(s), freexl, xlrd, findings, formulaCells,
                     datesPassedOver);
    }
    EXPECT_TRUE(findings.problems.isEmpty()) << findings.problems.join(u'\n').toStdString();
    if (datesPassedOver > 0) {
        std::printf("  %s: %d dates of FreeXL not compared (its calendar is wrong there)\n",
                    qPrintable(QFileInfo(path).fileName()), datesPassedOver);
    }
}

TEST(XlsDifferential, CommittedWorkbooksReadAsFreeXlAndXlrdReadThem)
{
    const QStringList files = committedWorkbooks();
    if (files.isEmpty()) {
        GTEST_SKIP() << "no committed workbooks yet";
    }
    for (const QString& path : files) {
        compareWithOracles(path);
    }
}

TEST(XlsDifferential, GeneratedWorkbooksReadAsFreeXlAndXlrdReadThem)
{
    const QStringList files = generatedWorkbooks();
    for (const QString& name : expectedGeneratedNames()) {
        ASSERT_TRUE(QFileInfo::exists(generatedFolder() + u'/' + name))
            << name.toStdString() << " was not generated";
    }
    for (const QString& path : files) {
        compareWithOracles(path);
    }
}

TEST(XlsDifferential, FormulaResultsOfEveryKindAreRead)
{
    // The generated formulas carry cached numbers, texts (one continued over several
    // records), booleans, errors and empty results; each kind must come through as such.
    auto workbook = xls::XlsWorkbook::openFile(generatedFolder() + u"/xlwt_formulas.xls"_s);
    std::map<Position, xls::XlsCell> cells;
    workbook->forEachCell(0, [&cells](int row, int column, const xls::XlsCell& cell) {
        cells[{row, column}] = cell;
    });
    const struct
    {
        int row;
        CellValue value;
    } expected[] = {
        {0, CellValue::fromNumber(2.5)},         {5, CellValue::fromText(u"abcdef"_s)},
        {8, CellValue::fromText(QString())},     {9, CellValue::fromText(u"TRUE"_s)},
        {10, CellValue::fromText(u"FALSE"_s)},   {11, CellValue::fromText(u"#DIV/0!"_s)},
        {12, CellValue::fromText(u"#VALUE!"_s)}, {13, CellValue::fromText(u"#N/A"_s)},
        {14, CellValue::fromText(u"#NUM!"_s)},   {15, CellValue::fromText(QString())},
        {16, CellValue::fromText(u"1"_s)},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.row);
        const Position at{e.row, 3};
        ASSERT_TRUE(cells.count(at));
        EXPECT_TRUE(cells[at].formula);
        EXPECT_EQ(show(cells[at].value), show(e.value));
        EXPECT_EQ(cells[at].value.kind, e.value.kind);
    }
    const Position longText{7, 3};
    EXPECT_EQ(cells[longText].value.text.size(), 10000);
}

} // namespace
