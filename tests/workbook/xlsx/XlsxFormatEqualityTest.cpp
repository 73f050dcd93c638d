// A workbook saved as .xlsx imports exactly as its .xls twin: the committed fixtures converted
// by an office suite, and the generated masters written from the same rows by xlwt and by
// openpyxl, which setzaiko-cli must also print alike for every command.

#include "import/ImportRun.h"
#include "support/MasterTableCompare.h"
#include "workbook/WorkbookFileOpener.h"
#include "workbook/xls/WorkbookFixtures.h"
#include "workbook/xlsx/XlsxFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

struct Imported
{
    ImportResult result;
    ProductMaster products;
    StockMaster stocks;
};

Imported importFile(const QString& path)
{
    Imported imported;
    WorkbookFileOpener opener;
    imported.result = runImport(path, opener);
    if (imported.result.book) {
        imported.products = imported.result.book->products();
        imported.stocks = imported.result.book->stocks();
    }
    return imported;
}

TEST(XlsxFormatEquality, EveryTwinImportsAlike)
{
    int pairs = 0;
    for (const QString& xlsx : committedXlsxWorkbooks() + generatedXlsxWorkbooks()) {
        const QString xls = xlsTwinOf(xlsx);
        if (xls.isEmpty()) {
            continue;
        }
        SCOPED_TRACE(xlsx.toStdString());
        const Imported a = importFile(xls);
        const Imported b = importFile(xlsx);
        EXPECT_NE(a.result.outcome, ImportResult::Outcome::Failed)
            << a.result.failureDetail.toStdString();
        EXPECT_EQ(a.result.outcome, b.result.outcome) << b.result.failureDetail.toStdString();
        EXPECT_EQ(a.result.status, b.result.status);
        EXPECT_EQ(a.result.failureDetail, b.result.failureDetail);
        ASSERT_EQ(a.result.counts.has_value(), b.result.counts.has_value());
        if (a.result.counts) {
            EXPECT_EQ(a.result.counts->products, b.result.counts->products);
            EXPECT_EQ(a.result.counts->stocks, b.result.counts->stocks);
        }
        expectSameTable(a.products, b.products);
        expectSameTable(a.stocks, b.stocks);
        ++pairs;
    }
    // formulas, fullsheet, extras, masters, richtext, the sample and the generated masters.
    EXPECT_GE(pairs, 7);
}

TEST(XlsxFormatEquality, ContentNotNameChoosesTheReader)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = QStringLiteral(SETZAIKO_TEST_DATA);
    const QString xlsxAsXls = dir.filePath(u"BOOK.XLS"_s);
    const QString xlsAsXlsx = dir.filePath(u"book.xlsx"_s);
    ASSERT_TRUE(QFile::copy(data + u"/xls/masters.xlsx"_s, xlsxAsXls));
    ASSERT_TRUE(QFile::copy(data + u"/xls/masters.xls"_s, xlsAsXlsx));
    for (const QString& path : {xlsxAsXls, xlsAsXlsx}) {
        SCOPED_TRACE(path.toStdString());
        const Imported imported = importFile(path);
        EXPECT_EQ(imported.result.outcome, ImportResult::Outcome::Success)
            << imported.result.failureDetail.toStdString();
        EXPECT_EQ(imported.products.count(), 2);
        EXPECT_EQ(imported.stocks.count(), 3);
    }
}

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray csv;
};

CliRun runCli(const QStringList& arguments, const QString& exportDir = {})
{
    CliRun run;
    QProcess cli;
    cli.start(QStringLiteral(SETZAIKO_CLI), arguments);
    if (!cli.waitForFinished(120000)) {
        cli.kill();
        cli.waitForFinished();
        return run;
    }
    run.exitCode = cli.exitCode();
    run.out = cli.readAllStandardOutput() + cli.readAllStandardError();
    if (!exportDir.isEmpty()) {
        for (const QFileInfo& file : QDir(exportDir).entryInfoList(QDir::Files)) {
            QFile csv(file.filePath());
            if (csv.open(QIODevice::ReadOnly)) {
                run.csv += file.fileName().toUtf8() + '\n' + csv.readAll();
            }
            csv.remove();
        }
    }
    return run;
}

TEST(XlsxFormatEquality, CliPrintsTheTwinsAlikeForEveryCommand)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString exportDir = dir.path();
    const struct
    {
        QString xls;
        QStringList command; // the book goes after the command's name
        bool exports;
    } runs[] = {
        // The rows xlwt and openpyxl wrote alike.
        {generatedFolder() + u"/masters.xls"_s, {u"import"_s}, false},
        {generatedFolder() + u"/masters.xls"_s, {u"search"_s}, false},
        {generatedFolder() + u"/masters.xls"_s, {u"search"_s, u"--code"_s, u"P00001"_s}, false},
        {generatedFolder() + u"/masters.xls"_s, {u"search"_s, u"--name"_s, u"商品名1"_s}, false},
        {generatedFolder() + u"/masters.xls"_s, {u"components"_s, u"S00001"_s}, false},
        {generatedFolder() + u"/masters.xls"_s,
         {u"components"_s, u"100004"_s, u"--order"_s, u"7"_s},
         false},
        {generatedFolder() + u"/masters.xls"_s,
         {u"export"_s, u"P000010"_s, u"--dir"_s, exportDir, u"--time"_s, u"240401120000"_s},
         false},
        // The sample workbook, whose set products have components in stock.
        {QStringLiteral(SETZAIKO_EXAMPLES) + u"/sample.xls"_s,
         {u"search"_s, u"--name"_s, u"ギフト"_s},
         false},
        {QStringLiteral(SETZAIKO_EXAMPLES) + u"/sample.xls"_s,
         {u"components"_s, u"S0005"_s, u"--order"_s, u"10"_s},
         false},
        {QStringLiteral(SETZAIKO_EXAMPLES) + u"/sample.xls"_s,
         {u"export"_s, u"S0005"_s, u"--order"_s, u"10"_s, u"--dir"_s, exportDir, u"--time"_s,
          u"240401120000"_s},
         true},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE((run.xls + u' ' + run.command.join(u' ')).toStdString());
        QString xlsx = generatedFolder() + u"/xlsx/masters.xlsx"_s;
        if (!run.xls.startsWith(generatedFolder())) {
            xlsx = run.xls + u'x';
        }
        QStringList withXls = run.command;
        withXls.insert(1, run.xls);
        QStringList withXlsx = run.command;
        withXlsx.insert(1, xlsx);
        const bool exporting = run.command.first() == u"export"_s;
        const CliRun a = runCli(withXls, exporting ? exportDir : QString());
        const CliRun b = runCli(withXlsx, exporting ? exportDir : QString());
        EXPECT_EQ(a.exitCode, b.exitCode);
        EXPECT_EQ(a.out, b.out);
        EXPECT_EQ(a.csv, b.csv);
        EXPECT_FALSE(a.out.isEmpty());
        EXPECT_EQ(!a.csv.isEmpty(), run.exports) << a.out.toStdString();
    }
}

} // namespace
