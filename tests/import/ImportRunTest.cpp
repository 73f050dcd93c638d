#include "import/ImportRun.h"

#include "common/TextRules.h"
#include "support/MemoryWorkbook.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

using Row = std::vector<CellValue>;
using Outcome = ImportResult::Outcome;

const QString marker = u"○"_s;

Row productRow(const QString& mark, const QString& code, CellValue quantity = number(1))
{
    return {mark.isNull() ? empty() : text(mark),
            code.isNull() ? empty() : text(code),
            text(u"c"_s),
            text(u"d"_s),
            text(u"e"_s),
            text(u"f"_s),
            text(u"P1"_s),
            text(u"h"_s),
            std::move(quantity),
            text(u"j"_s)};
}

Row stockRow(const QString& mark, const QString& code, CellValue quantity = number(10),
             const QString& flag = {})
{
    return {mark.isNull() ? empty() : text(mark),
            code.isNull() ? empty() : text(code),
            text(u"name"_s),
            text(u"個"_s),
            flag.isNull() ? empty() : text(flag),
            std::move(quantity),
            text(u"ignored"_s),
            text(u"remarks"_s)};
}

MemoryTable productSheet(std::vector<Row> rows)
{
    return {u"商品マスタ"_s, 10, std::move(rows)};
}

MemoryTable stockSheet(std::vector<Row> rows)
{
    return {u"在庫マスタ"_s, 8, std::move(rows)};
}

// A workbook with n valid product rows and m valid stock rows.
std::vector<MemoryTable> validBook(int products, int stocks)
{
    std::vector<Row> productRows;
    for (int i = 0; i < products; ++i) {
        productRows.push_back(productRow(i == 0 ? marker : QString(), u"S%1"_s.arg(i)));
    }
    std::vector<Row> stockRows;
    for (int i = 0; i < stocks; ++i) {
        stockRows.push_back(stockRow(i == 0 ? marker : QString(), u"P%1"_s.arg(i)));
    }
    return {productSheet(std::move(productRows)), stockSheet(std::move(stockRows))};
}

class RecordingObserver : public ImportObserver
{
public:
    void started() override { ++startedCalls; }
    void stepDone() override { ++steps; }
    void rowRead(const ImportCounts& counts) override { rows.push_back(counts); }
    void waiting(const ImportCounts& soFar) override
    {
        if (onWaiting) {
            onWaiting(soFar);
        }
    }

    int startedCalls = 0;
    int steps = 0;
    std::vector<ImportCounts> rows;
    std::function<void(const ImportCounts&)> onWaiting;
};

struct ImportHarness
{
    explicit ImportHarness(std::vector<MemoryTable> tables) : opener(std::move(tables)) {}

    // Keeps the tables of the book the run made, as the application does; a refused run makes
    // none and leaves them as they were.
    ImportResult import(const QString& path = u"book.xls"_s)
    {
        ImportResult result = runImport(path, opener, &observer);
        EXPECT_EQ(result.book == nullptr, result.outcome == Outcome::Refused);
        if (result.book) {
            // The book tells its outcome as the result does, its tables ready for lookups.
            EXPECT_EQ(result.book->outcome(), result.outcome);
            EXPECT_EQ(result.book->status(), result.status);
            EXPECT_EQ(result.book->counts(), result.counts);
            EXPECT_EQ(result.book->path(), rightTrim(path));
            const MasterData& masters = result.book->masters();
            const std::int32_t stockRows = masters.stocks().count();
            for (const std::int32_t row : {0, stockRows - 1}) {
                if (row >= 0 && row < stockRows) {
                    const QString& code = masters.stocks().row(row).productCode;
                    EXPECT_GE(masters.componentLookup().firstStockRow(code), 0);
                }
            }
            const std::int32_t productRows = masters.products().count();
            for (const std::int32_t row : {0, productRows - 1}) {
                if (row >= 0 && row < productRows) {
                    const QString& set = masters.products().row(row).setCode;
                    EXPECT_FALSE(masters.componentLookup().compositionRows(set).empty());
                }
            }
            book = result.book;
            products = book->products();
            stocks = book->stocks();
        }
        return result;
    }

    MemoryWorkbookOpener opener;
    std::shared_ptr<const ImportedBook> book;
    ProductMaster products;
    StockMaster stocks;
    RecordingObserver observer;
};

} // namespace

TEST(ImportRun, SuccessReportsTheCounts)
{
    ImportHarness run(validBook(5, 7));
    const ImportResult result = run.import();

    EXPECT_EQ(result.outcome, Outcome::Success);
    EXPECT_EQ(result.status, ImportStatus::Ok);
    ASSERT_TRUE(result.counts);
    EXPECT_EQ(result.counts->products, 5);
    EXPECT_EQ(result.counts->stocks, 7);
    EXPECT_EQ(run.products.count(), 5);
    EXPECT_EQ(run.stocks.count(), 7);
    EXPECT_EQ(run.opener.log->closed, 1);
}

TEST(ImportRun, BlankPathIsRefusedWithoutTouchingAnything)
{
    for (const QString& path : {QString(), u"   "_s, u"\u3000 "_s}) {
        ImportHarness run(validBook(1, 1));
        run.import(); // tables now hold rows
        const int opened = run.opener.log->opened;
        const ImportResult result = run.import(path);

        EXPECT_EQ(result.outcome, Outcome::Refused) << path.toStdString();
        EXPECT_EQ(result.status, ImportStatus::Ok);
        EXPECT_FALSE(result.counts);
        EXPECT_EQ(run.products.count(), 1);
        EXPECT_EQ(run.stocks.count(), 1);
        EXPECT_EQ(run.opener.log->opened, opened);
        EXPECT_EQ(run.observer.startedCalls, 1);
    }
}

TEST(ImportRun, PathIsRightTrimmedOnly)
{
    ImportHarness run(validBook(1, 1));
    run.import(u" dir/book.xls \u3000"_s);
    EXPECT_EQ(run.opener.lastPath, u" dir/book.xls"_s);
}

TEST(ImportRun, StartMarkerDecidesWhereTheDataBegins)
{
    ImportHarness run(
        {productSheet({
             productRow(u"タイトル"_s, u"見出し"_s), // above the marker: ignored
             productRow(QString(), u"S-above"_s),    // code but no marker yet
             productRow(marker, QString()),          // marker without code
             productRow(u"x"_s, u"S-unmarked"_s),    // still not started
             productRow(u"○  "_s, u"S1"_s),          // marker with trailing spaces
             productRow(QString(), QString()),       // blank row inside the data
             productRow(u"anything"_s, u"S2"_s),     // column A no longer matters
             Row(10, CellValue{}),                   // completely empty row
             productRow(marker, u"S3"_s),            // a second marker changes nothing
             productRow(QString(), u" \u3000"_s),    // blank code (spaces only)
         }),
         stockSheet({stockRow(u" ○"_s, u"P-leading-space"_s), stockRow(marker, u"P1"_s)})});
    const ImportResult result = run.import();

    ASSERT_EQ(result.outcome, Outcome::Success);
    ASSERT_EQ(run.products.count(), 3);
    EXPECT_EQ(run.products.row(0).setCode, u"S1"_s);
    EXPECT_EQ(run.products.row(1).setCode, u"S2"_s);
    EXPECT_EQ(run.products.row(2).setCode, u"S3"_s);
    ASSERT_EQ(run.stocks.count(), 1);
    EXPECT_EQ(run.stocks.row(0).productCode, u"P1"_s);
}

TEST(ImportRun, NumberCellAsMarkerOrCodeUsesItsText)
{
    Row product = productRow(marker, QString());
    product[1] = number(1001);
    product[6] = number(2.5);
    ImportHarness run({productSheet({product}), stockSheet({stockRow(marker, u"P"_s)})});
    run.import();
    ASSERT_EQ(run.products.count(), 1);
    EXPECT_EQ(run.products.row(0).setCode, u"1001"_s);
    EXPECT_EQ(run.products.row(0).componentCode, u"2.5"_s);
}

// Both ways a reader hands out texts: as the cells' own, and kept by the workbook (shared
// strings), where the rows point into the workbook's texts and keep them beyond the workbook.
TEST(ImportRun, FieldsAreStoredInColumnOrderRightTrimmed)
{
    for (const bool keepTexts : {false, true}) {
        SCOPED_TRACE(keepTexts ? "kept texts" : "own texts");
        Row product{text(marker), text(u" S1  "_s), text(u"c\u3000"_s), text(u"d"_s), text(u"e"_s),
                    text(u"f"_s), text(u"P9 "_s),   text(u"h"_s),       number(3),    text(u"j"_s)};
        Row stock{text(marker),  text(u"P9"_s), text(u"緑茶 "_s), text(u"袋"_s),
                  text(u"1 "_s), number(42),    number(77),       text(u"備考 "_s)};
        ImportHarness run({productSheet({product}),
                           stockSheet({stock, stockRow(QString(), u"P10"_s, number(1), u" 1"_s)})});
        run.opener.keepTexts = keepTexts;
        run.import();
        run.book.reset(); // the harness's copies of the tables are what is left

        const ProductMasterRow& p = run.products.row(0);
        EXPECT_EQ(p.setCode, u" S1"_s);
        EXPECT_EQ(p.f3Text, u"c"_s);
        EXPECT_EQ(p.f4Text, u"d"_s);
        EXPECT_EQ(p.f5Text, u"e"_s);
        EXPECT_EQ(p.f6Text, u"f"_s);
        EXPECT_EQ(p.componentCode, u"P9"_s);
        EXPECT_EQ(p.f8Text, u"h"_s);
        EXPECT_EQ(p.quantityPerSet, 3);
        EXPECT_EQ(p.f10Text, u"j"_s);

        const StockMasterRow& s = run.stocks.row(0);
        EXPECT_EQ(s.productCode, u"P9"_s);
        EXPECT_EQ(s.productName, u"緑茶"_s);
        EXPECT_EQ(s.unit, u"袋"_s);
        EXPECT_EQ(s.setFlag, u"1"_s);
        EXPECT_TRUE(s.isSetProduct());
        EXPECT_EQ(s.stockQuantity, 42);
        EXPECT_EQ(s.reservedQuantity, 0);
        EXPECT_EQ(s.remarks, u"備考"_s);
        EXPECT_FALSE(run.stocks.row(1).isSetProduct()); // " 1" keeps its leading space
        EXPECT_EQ(run.stocks.row(1).unit, u"個"_s);
    }
}

struct QuantityCase
{
    const char* name;
    CellValue cell;
    Outcome outcome;
    std::int32_t stored;
};

TEST(ImportRun, QuantityRule)
{
    const QuantityCase cases[] = {
        {"text half down to even", text(u"12.5"_s), Outcome::Success, 12},
        {"text half up to even", text(u"13.5"_s), Outcome::Success, 14},
        {"negative kept", text(u"-3"_s), Outcome::Success, -3},
        {"negative half to even", text(u"-2.5"_s), Outcome::Success, -2},
        {"thousands separator reads the whole number", text(u"1,234"_s), Outcome::Success, 1234},
        {"number cell", number(1234), Outcome::Success, 1234},
        {"number cell half", number(12.5), Outcome::Success, 12},
        {"limit", text(u"9999999"_s), Outcome::Success, 9999999},
        {"padded text", text(u"  7 \u3000"_s), Outcome::Success, 7},
        {"full-width digits", text(u"１２"_s), Outcome::Success, 12},
        {"exponent", text(u"1.5e3"_s), Outcome::Success, 1500},
        {"over the limit after rounding", text(u"9999999.5"_s), Outcome::OverLimit, 10000000},
        {"over the limit as a number", number(10000000), Outcome::OverLimit, 10000000},
        {"largest 32-bit", text(u"2147483647"_s), Outcome::OverLimit, 2147483647},
        {"not numeric", text(u"abc"_s), Outcome::NotNumeric, 0},
        {"number with letters", text(u"12abc"_s), Outcome::NotNumeric, 0},
        {"empty cell", empty(), Outcome::NotNumeric, 0},
        {"blank text", text(u"  "_s), Outcome::NotNumeric, 0},
        {"boolean", text(u"TRUE"_s), Outcome::NotNumeric, 0},
        {"minus sign is not a sign", text(u"\u22123"_s), Outcome::NotNumeric, 0},
        {"beyond 32 bits", text(u"3000000000"_s), Outcome::Failed, 0},
        {"beyond 32 bits as a number", number(3e9), Outcome::Failed, 0},
        {"negative beyond 32 bits", number(-2147483649.0), Outcome::Failed, 0},
    };
    for (const QuantityCase& c : cases) {
        SCOPED_TRACE(c.name);
        // The same cell once as a component quantity and once as a stock quantity.
        for (const bool inStock : {false, true}) {
            ImportHarness run(
                {productSheet({productRow(marker, u"S1"_s, inStock ? number(1) : c.cell)}),
                 stockSheet({stockRow(marker, u"P1"_s, inStock ? c.cell : number(1))})});
            const ImportResult result = run.import();
            EXPECT_EQ(result.outcome, c.outcome);
            if (c.outcome == Outcome::Failed) {
                // The failing row is not appended.
                EXPECT_EQ(inStock ? run.stocks.count() : run.products.count(), 0);
                continue;
            }
            const std::int32_t stored =
                inStock ? run.stocks.row(0).stockQuantity : run.products.row(0).quantityPerSet;
            EXPECT_EQ(stored, c.stored);
        }
    }
}

TEST(ImportRun, OffendingRowsAreCountedAndTheLastOffenceDecides)
{
    struct Case
    {
        const char* name;
        CellValue first;
        CellValue second;
        Outcome outcome;
        ImportStatus status;
    };
    const Case cases[] = {
        {"over limit then not numeric", number(1e7 + 1), text(u"x"_s), Outcome::NotNumeric,
         ImportStatus::NotNumeric},
        {"not numeric then over limit", text(u"x"_s), number(1e7 + 1), Outcome::OverLimit,
         ImportStatus::OverLimit},
        {"a later good row does not reset", text(u"x"_s), number(5), Outcome::NotNumeric,
         ImportStatus::NotNumeric},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // First offence in the product sheet, second in the stock sheet read after it.
        ImportHarness run(
            {productSheet({productRow(marker, u"S1"_s, c.first)}),
             stockSheet({stockRow(marker, u"P1"_s), stockRow(QString(), u"P2"_s, c.second),
                         stockRow(QString(), u"P3"_s)})});
        const ImportResult result = run.import();
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(run.stocks.count(), 3);
        EXPECT_EQ(result.counts->stocks, 3);
    }
}

TEST(ImportRun, ZeroRowOutcomes)
{
    struct Case
    {
        const char* name;
        std::vector<MemoryTable> tables;
        std::int32_t products;
        std::int32_t stocks;
    };
    const Case cases[] = {
        {"no sheets", {}, 0, 0},
        {"product sheet missing", {stockSheet({stockRow(marker, u"P1"_s)})}, 0, 1},
        {"stock sheet without a marker",
         {productSheet({productRow(marker, u"S1"_s)}), stockSheet({stockRow(u"x"_s, u"P1"_s)})},
         1,
         0},
        {"quoted product sheet name is not the product master",
         {MemoryTable{u"'商品マスタ'"_s, 10, {productRow(marker, u"S1"_s)}},
          stockSheet({stockRow(marker, u"P1"_s)})},
         0,
         1},
        {"sheet names compare exactly",
         {MemoryTable{u"商品ﾏｽﾀ"_s, 10, {productRow(marker, u"S1"_s)}},
          MemoryTable{u" 在庫マスタ"_s, 10, {stockRow(marker, u"P1"_s)}}},
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportHarness run(c.tables);
        const ImportResult result = run.import();
        EXPECT_EQ(result.outcome, Outcome::NoRows);
        EXPECT_EQ(result.status, ImportStatus::NoRows);
        // The book tells which master the run left empty.
        EXPECT_EQ(run.products.count(), c.products);
        EXPECT_EQ(run.stocks.count(), c.stocks);
    }
}

TEST(ImportRun, OffenceOutranksZeroRows)
{
    ImportHarness run({productSheet({productRow(marker, u"S1"_s, text(u"x"_s))})});
    EXPECT_EQ(run.import().outcome, Outcome::NotNumeric);
}

TEST(ImportRun, OtherSheetsAreReadAndNeedNoColumns)
{
    auto tables = validBook(1, 1);
    tables.insert(tables.begin(), MemoryTable{u"NamedRange"_s, 0, {{text(u"x"_s)}}});
    tables.push_back(MemoryTable{u"Other sheet"_s, 1, {{text(u"a"_s)}, {text(u"b"_s)}}});
    tables.push_back(MemoryTable{u"メモ"_s, 2, {{text(u"○"_s), text(u"S9"_s)}}});
    ImportHarness run(tables);
    const ImportResult result = run.import();

    EXPECT_EQ(result.outcome, Outcome::Success);
    EXPECT_EQ(run.opener.log->tablesOpened,
              QStringList({u"NamedRange"_s, u"商品マスタ"_s, u"在庫マスタ"_s, u"Other sheet"_s,
                           u"メモ"_s}));
    EXPECT_EQ(run.observer.rows.size(), 6u); // other sheets' rows count as rows read
}

TEST(ImportRun, ObserverSeesEveryRowWithTheCountsSoFar)
{
    ImportHarness run(
        {productSheet({productRow(u"title"_s, u"x"_s), productRow(marker, u"S1"_s),
                       productRow(QString(), QString()), productRow(QString(), u"S2"_s)}),
         stockSheet({stockRow(marker, u"P1"_s)})});
    run.import();
    EXPECT_EQ(run.observer.startedCalls, 1);
    EXPECT_EQ(run.observer.steps, 3); // the workbook opened, then each of its two sheets
    std::vector<std::pair<int, int>> seen;
    for (const ImportCounts& c : run.observer.rows) {
        seen.emplace_back(c.products, c.stocks);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

// However the sheets are read, the observer sees their rows in workbook order, each with the
// counts the labels would show at that row, and the last offence in workbook order decides.
TEST(ImportRun, SheetsCountInWorkbookOrderWhateverTheirOrder)
{
    const MemoryTable memo{u"メモ"_s, 1, {{text(u"a"_s)}}};
    ImportHarness run(
        {stockSheet({stockRow(marker, u"P1"_s, text(u"x"_s)), stockRow(QString(), u"P2"_s)}), memo,
         productSheet({productRow(marker, u"S1"_s, number(1e7 + 1)),
                       productRow(QString(), QString()), productRow(QString(), u"S2"_s)})});
    const ImportResult result = run.import();
    EXPECT_EQ(result.outcome, Outcome::OverLimit);
    EXPECT_EQ(run.observer.steps, 4); // the workbook opened, then each of its three sheets
    std::vector<std::pair<int, int>> seen;
    for (const ImportCounts& c : run.observer.rows) {
        seen.emplace_back(c.products, c.stocks);
    }
    EXPECT_EQ(seen,
              (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, 2}, {1, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(run.products.row(1).setCode, u"S2"_s);
    EXPECT_EQ(run.stocks.row(1).productCode, u"P2"_s);
}

// While the run waits for the sheet read ahead, the front is told the counts after the rows
// of it read so far; the rows themselves still come one by one once it is handed over.
TEST(ImportRun, WaitingForTheSheetReadAheadTellsItsRowsSoFar)
{
    ImportHarness run(validBook(1, 4));
    run.opener.log->pauseBefore(u"在庫マスタ"_s, 3);
    std::vector<ImportCounts> waited;
    run.observer.onWaiting = [&](const ImportCounts& soFar) {
        waited.push_back(soFar);
        if (soFar.stocks == 3) {
            run.opener.log->resume();
        }
    };
    EXPECT_EQ(run.import().outcome, Outcome::Success);
    ASSERT_FALSE(waited.empty());
    EXPECT_NE(std::find(waited.begin(), waited.end(), ImportCounts{1, 3}), waited.end());
    for (const ImportCounts& soFar : waited) {
        EXPECT_EQ(soFar.products, 1);
        EXPECT_LE(soFar.stocks, 4);
    }
    ASSERT_EQ(run.observer.rows.size(), 5u);
    EXPECT_EQ(run.observer.rows.back(), (ImportCounts{1, 4}));
}

TEST(ImportRun, UnexpectedErrors)
{
    struct Case
    {
        const char* name;
        std::vector<MemoryTable> tables;
        bool failToOpen;
        int products;
        int stocks;
        std::optional<std::pair<int, int>> counts;
    };
    const Case cases[] = {
        {"workbook cannot be opened", validBook(2, 2), true, 0, 0, std::nullopt},
        {"product sheet narrower than column J",
         {stockSheet({stockRow(marker, u"P1"_s), stockRow(QString(), u"P2"_s)}),
          MemoryTable{u"商品マスタ"_s, 9, {productRow(marker, u"S1"_s)}}},
         false,
         0,
         2,
         std::pair{0, 2}},
        {"stock sheet narrower than column H",
         {MemoryTable{u"在庫マスタ"_s, 7, {stockRow(marker, u"P1"_s)}}},
         false,
         0,
         0,
         std::nullopt},
        {"quantity beyond 32 bits in the third row",
         {productSheet({productRow(marker, u"S1"_s), productRow(QString(), u"S2"_s),
                        productRow(QString(), u"S3"_s, number(5e9)),
                        productRow(QString(), u"S4"_s)})},
         false,
         2,
         0,
         std::pair{2, 0}},
        {"stock sheet read after the product sheet fails at its second row",
         {productSheet({productRow(marker, u"S1"_s), productRow(QString(), u"S2"_s)}),
          stockSheet({stockRow(marker, u"P1"_s), stockRow(QString(), u"P2"_s, number(-5e9)),
                      stockRow(QString(), u"P3"_s)})},
         false,
         2,
         1,
         std::pair{2, 1}},
        {"stock sheet fails at once, the product sheet after it never counts",
         {MemoryTable{u"在庫マスタ"_s, 7, {stockRow(marker, u"P1"_s)}},
          productSheet({productRow(marker, u"S1"_s)})},
         false,
         0,
         0,
         std::nullopt},
        // Two worksheets of one name: the reader refuses the workbook as it opens it, so no
        // sheet of it is read at all.
        {"product master twice before the stock master",
         {productSheet({productRow(marker, u"S1"_s)}), productSheet({productRow(marker, u"S2"_s)}),
          stockSheet({stockRow(marker, u"P1"_s)})},
         false,
         0,
         0,
         std::nullopt},
        {"stock master twice",
         {stockSheet({stockRow(marker, u"P1"_s)}), stockSheet({stockRow(marker, u"P2"_s)})},
         false,
         0,
         0,
         std::nullopt},
        {"a repeated master name after both masters",
         {productSheet({productRow(marker, u"S1"_s)}), stockSheet({stockRow(marker, u"P1"_s)}),
          productSheet({productRow(marker, u"S9"_s)})},
         false,
         0,
         0,
         std::nullopt},
        {"other sheets whose names differ only in case",
         {MemoryTable{u"Sheet1"_s, 1, {}}, productSheet({productRow(marker, u"S1"_s)}),
          stockSheet({stockRow(marker, u"P1"_s)}), MemoryTable{u"SHEET1"_s, 1, {}}},
         false,
         0,
         0,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportHarness run(validBook(3, 3));
        run.import(); // rows from an earlier import must not survive
        run.opener.tables = c.tables;
        run.opener.failToOpen = c.failToOpen;
        const ImportResult result = run.import();

        EXPECT_EQ(result.outcome, Outcome::Failed);
        EXPECT_EQ(result.status, ImportStatus::Failed);
        EXPECT_FALSE(result.failureDetail.isEmpty());
        EXPECT_EQ(run.products.count(), c.products);
        EXPECT_EQ(run.stocks.count(), c.stocks);
        EXPECT_EQ(result.counts.has_value(), c.counts.has_value());
        if (result.counts && c.counts) {
            EXPECT_EQ(result.counts->products, c.counts->first);
            EXPECT_EQ(result.counts->stocks, c.counts->second);
        }
        EXPECT_EQ(run.opener.log->opened, run.opener.log->closed);
    }
}

// The stock sheet after the product sheet is read meanwhile; when the product sheet fails
// before the stock sheet's turn, none of what was read of it may survive.
TEST(ImportRun, FailureBeforeTheSheetReadAheadLeavesItsTableEmpty)
{
    ImportHarness run(
        {productSheet({productRow(marker, u"S1"_s), productRow(QString(), u"S2"_s, number(5e9))}),
         stockSheet({stockRow(marker, u"P1"_s), stockRow(QString(), u"P2"_s)})});
    run.opener.log->readAfter(u"商品マスタ"_s, u"在庫マスタ"_s);
    const ImportResult result = run.import();
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(run.products.count(), 1);
    EXPECT_EQ(run.stocks.count(), 0);
    ASSERT_TRUE(result.counts.has_value());
    EXPECT_EQ(result.counts->products, 1);
    EXPECT_EQ(result.counts->stocks, 0);
    EXPECT_EQ(run.observer.rows.size(), 1u);
}

TEST(ImportRun, ReimportReplacesEverything)
{
    ImportHarness run(validBook(4, 6));
    run.import();
    const std::shared_ptr<const ImportedBook> first = run.book;
    run.opener.tables = validBook(1, 2);
    const ImportResult result = run.import();
    EXPECT_EQ(result.outcome, Outcome::Success);
    EXPECT_EQ(run.products.count(), 1);
    EXPECT_EQ(run.stocks.count(), 2);
    EXPECT_EQ(run.stocks.row(1).productCode, u"P1"_s);
    EXPECT_EQ(run.opener.log->opened, 2);
    EXPECT_EQ(run.opener.log->closed, 2);
    // Whoever holds the first book still reads the first import's rows.
    EXPECT_NE(run.book, first);
    EXPECT_EQ(first->products().count(), 4);
    EXPECT_EQ(first->stocks().count(), 6);
    EXPECT_EQ(first->outcome(), Outcome::Success);
}

TEST(ImportRun, TheBookNamesTheWorkbookAndItsFolder)
{
    ImportHarness run(validBook(1, 1));
    const QString path = QDir::tempPath() + u"/books/stock.xls"_s;
    run.import(path + u"  "_s);
    EXPECT_EQ(run.book->path(), path);
    EXPECT_EQ(run.book->folder(),
              QDir::toNativeSeparators(QDir::tempPath() + u"/books"_s) + QDir::separator());
}
