#include "import/ImportRun.h"
#include "import/WorkbookFileOpener.h"
#include "import/xls/XlsWorkbook.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

// Imports of workbooks saved by a real office suite, with what their sources say they hold.

namespace {

struct Imported
{
    ImportResult result;
    ProductMaster products;
    StockMaster stocks;
};

Imported importFile(const QString& relativePath, const char* root = SETZAIKO_TEST_DATA)
{
    Imported imported;
    WorkbookFileOpener opener;
    imported.result = runImport(QString::fromUtf8(root) + u'/' + relativePath, opener,
                                imported.products, imported.stocks);
    return imported;
}

} // namespace

TEST(FixtureImport, CountsAndOutcomes)
{
    const struct
    {
        const char16_t* file;
        ImportResult::Outcome outcome;
        int products;
        int stocks;
    } cases[] = {
        {u"xls/formulas.xls", ImportResult::Outcome::Success, 9, 409},
        {u"xls/fullsheet.xls", ImportResult::Outcome::Success, 3, 65536},
        {u"xls/extras.xls", ImportResult::Outcome::Success, 3, 4},
        {u"xls/masters.xls", ImportResult::Outcome::Success, 2, 3},
        {u"xls/encrypted.xls", ImportResult::Outcome::Failed, 0, 0},
        {u"xlsx/book.xlsx.xls", ImportResult::Outcome::Success, 2, 3},
        {u"xls/masters.xlsx", ImportResult::Outcome::Success, 2, 3},
        {u"xlsx/richtext.xlsx", ImportResult::Outcome::Success, 4, 5},
        {u"xlsx/inline-openpyxl.xlsx", ImportResult::Outcome::Success, 5, 7},
        {u"xls/not-a-workbook/text.xls", ImportResult::Outcome::Failed, 0, 0},
        {u"xls/not-a-workbook/empty.xls", ImportResult::Outcome::Failed, 0, 0},
        {u"xls/no-such-file.xls", ImportResult::Outcome::Failed, 0, 0},
    };
    for (const auto& c : cases) {
        const QString file = QString::fromUtf16(c.file);
        SCOPED_TRACE(file.toStdString());
        const Imported imported = importFile(file);
        EXPECT_EQ(imported.result.outcome, c.outcome)
            << imported.result.failureDetail.toStdString();
        EXPECT_EQ(imported.products.count(), c.products);
        EXPECT_EQ(imported.stocks.count(), c.stocks);
        if (c.outcome == ImportResult::Outcome::Failed) {
            EXPECT_FALSE(imported.result.counts); // the labels stay empty
        }
    }
}

TEST(FixtureImport, FormulaResultsAndCellKindsBecomeFields)
{
    const Imported imported = importFile(u"xls/formulas.xls"_s);
    ASSERT_EQ(imported.products.count(), 9);

    const struct
    {
        QString setCode, f3, f4, f5, f6, componentCode, f8;
        int quantity;
        QString f10;
    } products[] = {
        {u"S001"_s, u"お中元セット"_s, u"夏"_s, u"TRUE"_s, u"45474"_s, u"P0001"_s, u"緑茶"_s, 6,
         u"通常"_s},
        {u"S001"_s, u"お中元セット"_s, u"12.5"_s, u"FALSE"_s, u"-7"_s, u"P0002"_s, u"ほうじ茶"_s,
         10, u"3000000000"_s},
        {u"S002"_s, u"Gift Set B"_s, u"0.1"_s, u"TRUE"_s, u"#DIV/0!"_s, u"P0003"_s, u"Coffee"_s, 12,
         u"45651"_s},
        {u"S003"_s, u"歳暮セット"_s, u"冬"_s, {}, {}, u"P0004"_s, u"海苔"_s, 14, {}},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const ProductMasterRow& row = imported.products.row(i);
        EXPECT_EQ(row.SetCode, products[i].setCode);
        EXPECT_EQ(row.F3Text, products[i].f3);
        EXPECT_EQ(row.F4Text, products[i].f4);
        EXPECT_EQ(row.F5Text, products[i].f5);
        EXPECT_EQ(row.F6Text, products[i].f6);
        EXPECT_EQ(row.ComponentCode, products[i].componentCode);
        EXPECT_EQ(row.F8Text, products[i].f8);
        EXPECT_EQ(row.ComponentQty, products[i].quantity);
        EXPECT_EQ(row.F10Text, products[i].f10);
    }
    EXPECT_EQ(imported.products.row(4).ComponentQty, 40);  // text "  40 "
    EXPECT_EQ(imported.products.row(4).F10Text, u"ABC"_s); // text formula result
    EXPECT_EQ(imported.products.row(5).ComponentQty, -3);
    EXPECT_EQ(imported.products.row(6).SetCode, u"S004"_s); // formula text as code
    EXPECT_EQ(imported.products.row(6).F3Text, u"全角空白の名前"_s);
    EXPECT_EQ(imported.products.row(7).ComponentQty, 1234); // the text "1,234"
    EXPECT_EQ(imported.products.row(8).F10Text, u"2147483648"_s);

    const StockMasterRow& s001 = imported.stocks.row(0);
    EXPECT_EQ(s001.SetFlag, u"1"_s); // number cell 1
    EXPECT_EQ(s001.StockQty, 150);   // =120+30
    EXPECT_EQ(imported.stocks.row(1).StockQty, 300);
    EXPECT_EQ(imported.stocks.row(2).Remarks.size(), 320);
    EXPECT_EQ(imported.stocks.row(3).SetFlag, u"1"_s); // "1 "
    EXPECT_EQ(imported.stocks.row(4).ProductCode, u"P0001"_s);
    EXPECT_EQ(imported.stocks.row(4).Remarks, u"45473"_s);
    EXPECT_EQ(imported.stocks.row(5).Unit, u"袋"_s);
    EXPECT_EQ(imported.stocks.row(5).StockQty, 12);
    EXPECT_EQ(imported.stocks.row(6).SetFlag, u" 1"_s);
    EXPECT_EQ(imported.stocks.row(7).Remarks, u"#DIV/0!"_s);
    EXPECT_EQ(imported.stocks.row(8).Remarks, u"#N/A"_s);

    std::int64_t generated = 0;
    for (int i = 9; i < imported.stocks.count(); ++i) {
        generated += imported.stocks.row(i).StockQty;
    }
    EXPECT_EQ(generated, 202400);
    EXPECT_EQ(imported.stocks.row(9).ProductName, u"静岡煎茶 50g"_s);
    EXPECT_EQ(imported.stocks.row(408).ProductName, u"京都柚子茶 ティーバッグ10袋"_s);
    EXPECT_EQ(imported.stocks.row(408).Remarks.size(), 9000);
    EXPECT_TRUE(imported.stocks.row(408).Remarks.endsWith(u'$'));
}

TEST(FixtureImport, EveryRowOfAFullSheet)
{
    const Imported imported = importFile(u"xls/fullsheet.xls"_s);
    ASSERT_EQ(imported.stocks.count(), 65536);
    EXPECT_EQ(imported.result.messageBox, u"合計 65539 件のデータを抽出しました"_s);
    EXPECT_EQ(countText(imported.result.counts->stocks), u"65,536"_s);
    std::int64_t sum = 0;
    for (int r = 0; r < imported.stocks.count(); ++r) {
        sum += imported.stocks.row(r).StockQty;
    }
    EXPECT_EQ(sum, 32611416);
    EXPECT_EQ(imported.stocks.row(0).ProductCode, u"100001"_s);
    EXPECT_EQ(imported.stocks.row(65535).ProductCode, u"165536"_s);
    EXPECT_EQ(imported.stocks.row(65535).Remarks, u"最終行"_s);
    EXPECT_EQ(imported.products.row(1).ComponentCode, u"165536"_s);
}

TEST(FixtureImport, ExtraSheetsChartsAndNamesAreIgnored)
{
    const Imported imported = importFile(u"xls/extras.xls"_s);
    EXPECT_EQ(imported.products.row(2).F10Text, u"備考"_s);
    EXPECT_EQ(imported.stocks.row(3).StockQty, 20);
    EXPECT_EQ(imported.stocks.row(3).Remarks, u"名前付き範囲の中"_s);

    const auto workbook =
        xls::XlsWorkbook::openFile(QString::fromUtf8(SETZAIKO_TEST_DATA) + u"/xls/extras.xls"_s);
    EXPECT_EQ(workbook->tableNames(),
              QStringList({u"集計$"_s, u"商品マスタ$"_s, u"在庫マスタ$"_s, u"非表示$"_s}));
}

TEST(FixtureImport, SampleWorkbook)
{
    const Imported imported = importFile(u"sample.xls"_s, SETZAIKO_EXAMPLES);
    EXPECT_EQ(imported.result.outcome, ImportResult::Outcome::Success);
    EXPECT_EQ(imported.products.count(), 143);
    EXPECT_EQ(imported.stocks.count(), 105);
}
