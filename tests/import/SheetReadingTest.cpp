#include "import/SheetReading.h"

#include "support/MemoryWorkbook.h"
#include "support/ScriptedCells.h"
#include "workbook/RowAssembler.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::importrun;
using namespace setzaiko::testing;

namespace {

using Row = std::vector<CellValue>;

Row product(const QString& mark, const QString& code, CellValue quantity = number(1))
{
    Row row(10, text(u"x"_s));
    row[0] = mark.isEmpty() ? empty() : text(mark);
    row[1] = text(code);
    row[8] = std::move(quantity);
    return row;
}

struct RowStep
{
    Row row;
    bool restartBefore = false; // the rows before are taken back
};

// The rows as a sheet's table hands them out: read whole, or as read (each row numbered on from
// the last restart), damaged after the last cell where failsAtEnd.
std::unique_ptr<WorkbookTable> tableOf(const std::vector<RowStep>& steps, bool asRead,
                                       bool failsAtEnd)
{
    std::vector<ScriptedCells::Step> cells;
    int row = 0;
    for (const RowStep& step : steps) {
        row = step.restartBefore ? 0 : row;
        for (int column = 0; column < static_cast<int>(step.row.size()); ++column) {
            cells.emplace_back(at(row, column, step.row[column]),
                               step.restartBefore && column == 0);
        }
        ++row;
    }
    SheetLayout layout{row, 10};
    layout.known = !asRead;
    const int failAt = failsAtEnd ? static_cast<int>(cells.size()) : -1;
    return std::make_unique<RowAssembler>(
        std::make_unique<ScriptedCells>(layout, std::move(cells), failAt), 10);
}

enum class Failure { None, Damage, Quantity };

TEST(SheetReading, TakesBackWhatItsTableTakesBack)
{
    const QString marker = u"○"_s;
    const CellValue beyond = number(1e10);
    struct Case
    {
        const char* name;
        std::vector<RowStep> steps;
        bool asRead;
        bool failsAtEnd; // damage after the last row's cells: the last row never goes out
        std::vector<QString> codes; // of the table, once read
        std::vector<std::int32_t> rowsAfter;
        Failure failure;
        ImportStatus offence = ImportStatus::Ok;
    };
    const Case cases[] = {
        {"rows taken back leave the table, and the rules start over",
         {{product(marker, u"S1"_s)},
          {product({}, u"S2"_s)},
          {product({}, u"S3"_s), true},
          {product(marker, u"S4"_s)}},
         true,
         false,
         {u"S4"_s},
         {0, 1},
         Failure::None},
        {"an offence taken back is no offence",
         {{product(marker, u"S1"_s, text(u"x"_s))},
          {product({}, u"S2"_s)},
          {product(marker, u"S1"_s), true}},
         true,
         false,
         {u"S1"_s},
         {1},
         Failure::None},
        {"a late failure of rows released as read leaves the table empty",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s)}, {product({}, u"S3"_s)}},
         true,
         true,
         {},
         {},
         Failure::Damage},
        {"a failure of rows read whole keeps the rows before it",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s)}, {product({}, u"S3"_s)}},
         false,
         true,
         {u"S1"_s, u"S2"_s},
         {1, 2},
         Failure::Damage},
        {"a quantity beyond 32 bits, then damage: the damage is told",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s, beyond)}, {product({}, u"S3"_s)}},
         true,
         true,
         {},
         {},
         Failure::Damage},
        {"a quantity beyond 32 bits, then a restart: the rows come again",
         {{product(marker, u"S1"_s)},
          {product({}, u"S2"_s, beyond)},
          {product({}, u"S3"_s)},
          {product(marker, u"S1"_s), true},
          {product({}, u"S2"_s)}},
         true,
         false,
         {u"S1"_s, u"S2"_s},
         {1, 2},
         Failure::None},
        {"a quantity beyond 32 bits where rows are read whole ends the sheet there",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s, beyond)}, {product({}, u"S3"_s)}},
         false,
         true,
         {u"S1"_s},
         {1},
         Failure::Quantity},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProductMaster products;
        StockMaster stocks;
        SheetReading reading(TableKind::Product, products, stocks);
        reading.open(tableOf(c.steps, c.asRead, c.failsAtEnd));
        const std::atomic<bool> stop{false};
        reading.read(stop);
        std::vector<QString> codes;
        for (std::int32_t i = 0; i < products.count(); ++i) {
            codes.push_back(products.row(i).setCode);
        }
        EXPECT_EQ(codes, c.codes);
        EXPECT_EQ(reading.rowsAfterEachRow(), c.rowsAfter);
        EXPECT_EQ(reading.offence(), c.offence);
        Failure failure = Failure::None;
        if (reading.failure()) {
            try {
                std::rethrow_exception(reading.failure());
            } catch (const WorkbookError&) {
                failure = Failure::Damage;
            } catch (const QuantityOutOfRange&) {
                failure = Failure::Quantity;
            }
        }
        EXPECT_EQ(failure, c.failure);
    }
}

} // namespace
