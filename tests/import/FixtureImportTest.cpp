#include "import/ImportRun.h"
#include "support/CompoundFileImage.h"
#include "support/SheetEntryEdit.h"
#include "workbook/WorkbookFailure.h"
#include "workbook/WorkbookFileOpener.h"
#include "workbook/xls/XlsWorkbook.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>

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
    imported.result = runImport(QString::fromUtf8(root) + u'/' + relativePath, opener);
    if (imported.result.book) {
        imported.products = imported.result.book->products();
        imported.stocks = imported.result.book->stocks();
    }
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
        EXPECT_EQ(row.setCode, products[i].setCode);
        EXPECT_EQ(row.f3Text, products[i].f3);
        EXPECT_EQ(row.f4Text, products[i].f4);
        EXPECT_EQ(row.f5Text, products[i].f5);
        EXPECT_EQ(row.f6Text, products[i].f6);
        EXPECT_EQ(row.componentCode, products[i].componentCode);
        EXPECT_EQ(row.f8Text, products[i].f8);
        EXPECT_EQ(row.quantityPerSet, products[i].quantity);
        EXPECT_EQ(row.f10Text, products[i].f10);
    }
    EXPECT_EQ(imported.products.row(4).quantityPerSet, 40); // text "  40 "
    EXPECT_EQ(imported.products.row(4).f10Text, u"ABC"_s);  // text formula result
    EXPECT_EQ(imported.products.row(5).quantityPerSet, -3);
    EXPECT_EQ(imported.products.row(6).setCode, u"S004"_s); // formula text as code
    EXPECT_EQ(imported.products.row(6).f3Text, u"全角空白の名前"_s);
    EXPECT_EQ(imported.products.row(7).quantityPerSet, 1234); // the text "1,234"
    EXPECT_EQ(imported.products.row(8).f10Text, u"2147483648"_s);

    const StockMasterRow& s001 = imported.stocks.row(0);
    EXPECT_EQ(s001.setFlag, u"1"_s);    // number cell 1
    EXPECT_EQ(s001.stockQuantity, 150); // =120+30
    EXPECT_EQ(imported.stocks.row(1).stockQuantity, 300);
    EXPECT_EQ(imported.stocks.row(2).remarks.text().size(), 320);
    EXPECT_EQ(imported.stocks.row(3).setFlag, u"1"_s); // "1 "
    EXPECT_EQ(imported.stocks.row(4).productCode, u"P0001"_s);
    EXPECT_EQ(imported.stocks.row(4).remarks, u"45473"_s);
    EXPECT_EQ(imported.stocks.row(5).unit, u"袋"_s);
    EXPECT_EQ(imported.stocks.row(5).stockQuantity, 12);
    EXPECT_EQ(imported.stocks.row(6).setFlag, u" 1"_s);
    EXPECT_EQ(imported.stocks.row(7).remarks, u"#DIV/0!"_s);
    EXPECT_EQ(imported.stocks.row(8).remarks, u"#N/A"_s);

    std::int64_t generated = 0;
    for (int i = 9; i < imported.stocks.count(); ++i) {
        generated += imported.stocks.row(i).stockQuantity;
    }
    EXPECT_EQ(generated, 202400);
    EXPECT_EQ(imported.stocks.row(9).productName, u"静岡煎茶 50g"_s);
    EXPECT_EQ(imported.stocks.row(408).productName, u"京都柚子茶 ティーバッグ10袋"_s);
    EXPECT_EQ(imported.stocks.row(408).remarks.text().size(), 9000);
    EXPECT_TRUE(imported.stocks.row(408).remarks.text().endsWith(u'$'));
}

TEST(FixtureImport, EveryRowOfAFullSheet)
{
    const Imported imported = importFile(u"xls/fullsheet.xls"_s);
    ASSERT_EQ(imported.stocks.count(), 65536);
    ASSERT_TRUE(imported.result.counts.has_value());
    EXPECT_EQ(imported.result.counts->stocks, 65536);
    EXPECT_EQ(imported.result.counts->total(), 65539);
    std::int64_t sum = 0;
    for (int r = 0; r < imported.stocks.count(); ++r) {
        sum += imported.stocks.row(r).stockQuantity;
    }
    EXPECT_EQ(sum, 32611416);
    EXPECT_EQ(imported.stocks.row(0).productCode, u"100001"_s);
    EXPECT_EQ(imported.stocks.row(65535).productCode, u"165536"_s);
    EXPECT_EQ(imported.stocks.row(65535).remarks, u"最終行"_s);
    EXPECT_EQ(imported.products.row(1).componentCode, u"165536"_s);
}

TEST(FixtureImport, ExtraSheetsChartsAndNamesAreIgnored)
{
    const Imported imported = importFile(u"xls/extras.xls"_s);
    EXPECT_EQ(imported.products.row(2).f10Text, u"備考"_s);
    EXPECT_EQ(imported.stocks.row(3).stockQuantity, 20);
    EXPECT_EQ(imported.stocks.row(3).remarks, u"名前付き範囲の中"_s);

    const auto workbook =
        xls::XlsWorkbook::openFile(QString::fromUtf8(SETZAIKO_TEST_DATA) + u"/xls/extras.xls"_s);
    EXPECT_EQ(workbook->sheetNames(),
              QStringList({u"集計"_s, u"商品マスタ"_s, u"在庫マスタ"_s, u"非表示"_s}));
}

TEST(FixtureImport, SampleWorkbook)
{
    const Imported imported = importFile(u"sample.xls"_s, SETZAIKO_EXAMPLES);
    EXPECT_EQ(imported.result.outcome, ImportResult::Outcome::Success);
    EXPECT_EQ(imported.products.count(), 143);
    EXPECT_EQ(imported.stocks.count(), 105);
}

// The later master sheet is read on a second thread whichever of the two it is: with the stock
// sheet first, the product sheet is the one read ahead, and nothing may change for that.
TEST(FixtureImport, MasterSheetsInSwappedOrderImportAlike)
{
    const Imported original = importFile(u"xls/masters.xls"_s);
    ASSERT_EQ(original.result.outcome, ImportResult::Outcome::Success);

    const auto edits = setzaiko::testing::sheetEntryEdits();
    const auto swapped = std::find_if(edits.begin(), edits.end(), [](const auto& edit) {
        return edit.name == u"master-sheets-swapped"_s;
    });
    ASSERT_NE(swapped, edits.end());
    QFile source(QString::fromUtf8(SETZAIKO_TEST_DATA) + u"/xls/masters.xls"_s);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(u"swapped.xls"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(swapped->apply(source.readAll()));
    file.close();
    const Imported imported =
        importFile(u"swapped.xls"_s, QFile::encodeName(dir.path()).constData());

    EXPECT_EQ(imported.result.outcome, original.result.outcome)
        << imported.result.failureDetail.toStdString();
    EXPECT_EQ(imported.result.counts, original.result.counts);
    ASSERT_EQ(imported.products.count(), original.products.count());
    ASSERT_EQ(imported.stocks.count(), original.stocks.count());
    ASSERT_TRUE(imported.result.counts && original.result.counts);
    EXPECT_EQ(imported.result.counts->total(), original.result.counts->total());
    for (std::int32_t i = 0; i < original.products.count(); ++i) {
        const ProductMasterRow& a = imported.products.row(i);
        const ProductMasterRow& b = original.products.row(i);
        EXPECT_EQ(std::tie(a.setCode, a.componentCode, a.quantityPerSet, a.f10Text),
                  std::tie(b.setCode, b.componentCode, b.quantityPerSet, b.f10Text));
    }
    for (std::int32_t i = 0; i < original.stocks.count(); ++i) {
        const StockMasterRow& a = imported.stocks.row(i);
        const StockMasterRow& b = original.stocks.row(i);
        EXPECT_EQ(std::tie(a.productCode, a.productName, a.stockQuantity, a.remarks),
                  std::tie(b.productCode, b.productName, b.stockQuantity, b.remarks));
    }
}

namespace {

QByteArray dataFile(const QString& relativePath)
{
    QFile file(QString::fromUtf8(SETZAIKO_TEST_DATA) + u'/' + relativePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An Excel 5.0/95 workbook as far as its first record: a "Book" stream whose BOF says BIFF5.
QByteArray excel95Workbook()
{
    const QByteArray bof = QByteArray::fromHex("0908"
                                               "0800"
                                               "0005"
                                               "0500"
                                               "0000"
                                               "0000");
    const QByteArray eof = QByteArray::fromHex("0a00"
                                               "0000");
    return setzaiko::testing::buildCompoundFile(u"Book"_s, bof + eof);
}

// masters.xlsx with the stored bytes of its workbook part spoiled.
QByteArray damagedWorkbookPart()
{
    QByteArray bytes = dataFile(u"xls/masters.xlsx"_s);
    const QByteArray name = "xl/workbook.xml";
    const qsizetype at = bytes.indexOf(name); // in its local header, before the directory
    const qsizetype header = at - 30;
    if (at < 30 || bytes.mid(header, 4) != "PK\x03\x04") {
        return {};
    }
    const auto extra = static_cast<unsigned char>(bytes[header + 28]) |
                       static_cast<unsigned char>(bytes[header + 29]) << 8;
    const qsizetype data = at + name.size() + extra;
    for (qsizetype i = data; i < data + 8; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    }
    return bytes;
}

} // namespace

// What the failure box keeps behind its details button: the sentence of the cause the reader
// found, then what it found.
TEST(FixtureImport, FailuresNameTheirCause)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&dir](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                   ? file.fileName()
                   : QString();
    };
    const QString deleted = write(u"deleted.xls"_s, dataFile(u"xls/masters.xls"_s));
    QFile::remove(deleted);
    const QString data = QString::fromUtf8(SETZAIKO_TEST_DATA) + u'/';
    // The one file every process may open but never read from its start: the process's own
    // memory at address 0. (File permissions stop no reader that runs as root.)
    const QString unreadable = u"/proc/self/mem"_s;

    const struct
    {
        const char* name;
        QString path;
        WorkbookFailure kind;
        QString detailHolds;
    } cases[] = {
        {"deleted workbook", deleted, WorkbookFailure::NoSuchFile, deleted},
        {"folder as path", dir.path(), WorkbookFailure::NotAFile, dir.path()},
        {"unreadable file", unreadable, WorkbookFailure::Unreadable, unreadable},
        {"damaged package", write(u"damaged.xlsx"_s, damagedWorkbookPart()),
         WorkbookFailure::Damaged, u"xl/workbook.xml: "_s},
        {"file of another kind", data + u"xls/not-a-workbook/text.xls"_s,
         WorkbookFailure::NotAWorkbook, u"text.xls"_s},
        {"encrypted workbook", data + u"xls/encrypted.xls"_s, WorkbookFailure::Encrypted, {}},
        {"sheet named twice",
         data + u"xls/regressions/duplicate-product-sheet.xls"_s,
         WorkbookFailure::DuplicateSheet,
         {}},
        {"Excel 95 workbook",
         write(u"excel95.xls"_s, excel95Workbook()),
         WorkbookFailure::OldFormat,
         {}},
    };
    bool unreadableSkipped = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.path == unreadable && !QFileInfo::exists(unreadable)) {
            unreadableSkipped = true;
            continue;
        }
        ASSERT_FALSE(c.path.isEmpty());
        WorkbookFileOpener opener;
        const ImportResult result = runImport(c.path, opener);
        ASSERT_EQ(result.outcome, ImportResult::Outcome::Failed);
        EXPECT_TRUE(result.failureDetail.startsWith(failureSentence(c.kind) + u'\n'))
            << result.failureDetail.toStdString();
        EXPECT_TRUE(result.failureDetail.contains(c.detailHolds))
            << result.failureDetail.toStdString();
    }
    if (unreadableSkipped) {
        GTEST_SKIP() << "unreadable file not tried: no /proc/self/mem, the one file that opens "
                        "but cannot be read whoever runs the test";
    }
}
