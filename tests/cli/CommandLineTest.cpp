#include "cli/CommandLine.h"

#include "support/TestWorkbooks.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko::cli;

namespace {

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

CliRun run(const QStringList& arguments)
{
    QByteArray out;
    QByteArray err;
    CliRun result;
    result.status = runCommandLine(arguments, out, err);
    result.out = QString::fromUtf8(out);
    result.err = QString::fromUtf8(err);
    return result;
}

QString writeBook(const QTemporaryDir& dir, const QString& name, const QString& sheets)
{
    const QString path = dir.filePath(name);
    QString error;
    EXPECT_TRUE(setzaiko::testing::writeWorkbook(path, sheets, &error)) << error.toStdString();
    return path;
}

const QString goodSheets = setzaiko::testing::validSheets();

} // namespace

TEST(CommandLine, UsageErrors)
{
    for (const QStringList& arguments :
         {QStringList{}, QStringList{u"import"_s}, QStringList{u"import"_s, u"a"_s, u"b"_s},
          QStringList{u"frobnicate"_s, u"a.xls"_s}}) {
        const CliRun result = run(arguments);
        EXPECT_EQ(result.status, exitUsage);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith(u"usage: "_s));
    }
}

TEST(CommandLine, ImportSuccessPrintsCountsBoxAndMessageLine)
{
    QTemporaryDir dir;
    const QString book = writeBook(dir, u"book.xls"_s, goodSheets);
    const CliRun result = run({u"import"_s, book});
    EXPECT_EQ(result.status, exitSuccess);
    EXPECT_EQ(result.out,
              u"商品マスタ取込件数\t2\n在庫マスタ取込件数\t3\n総件数\t5\n"
              u"合計 5 件のデータを抽出しました\n"
              u"EXCELより商品・在庫データを取込みました。「戻る」を押下してください\n"_s);
    EXPECT_TRUE(result.err.isEmpty());
}

TEST(CommandLine, ImportOutcomesAndExitStatuses)
{
    QTemporaryDir dir;
    const QString notNumeric = writeBook(dir, u"nn.xls"_s, uR"([
        ('在庫マスタ', [['○', 'P1', 'n', 'u', '', 'many', 0, '']]),
        ('商品マスタ', [['○', 'S1', 'a', 'b', 'c', 'd', 'P1', 'e', 1, 'f']])])"_s);
    const QString narrow = writeBook(dir, u"narrow.xls"_s, uR"([
        ('商品マスタ', [['○', 'S1', 'a', 'b', 'c', 'd', 'P1', 'e', 1]])])"_s);
    const QString notABook = dir.filePath(u"text.xls"_s);
    {
        QFile file(notABook);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is not a workbook\n");
    }

    struct Case
    {
        QString book;
        int status;
        QString out;
    };
    const Case cases[] = {
        {notNumeric, exitRefused,
         u"商品マスタ取込件数\t1\n在庫マスタ取込件数\t1\n総件数\t2\n"
         u"取込エラー：在庫数に数字以外の項目が存在します。\n"_s},
        {narrow, exitFailure,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\n"
         u"取込みエラーが発生しました\n取込みエラーが発生しました\n"_s},
        {notABook, exitFailure,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\n"
         u"取込みエラーが発生しました\n取込みエラーが発生しました\n"_s},
        {dir.filePath(u"missing.xls"_s), exitFailure,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\n"
         u"取込みエラーが発生しました\n取込みエラーが発生しました\n"_s},
        {u"  "_s, exitRefused,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\nファイルを選択してください\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.book.toStdString());
        const CliRun result = run({u"import"_s, c.book});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
    }
}

TEST(CommandLine, TheProgramWritesUtf8AndExitsWithTheStatus)
{
    QTemporaryDir dir;
    const QString book = writeBook(dir, u"日本語 名.xls"_s, goodSheets);
    QProcess cli;
    cli.start(QString::fromUtf8(SETZAIKO_CLI), {u"import"_s, book});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
    const QByteArray out = cli.readAllStandardOutput();
    EXPECT_TRUE(out.startsWith("\xE5\x95\x86")) << out.toStdString(); // 商 in UTF-8

    cli.start(QString::fromUtf8(SETZAIKO_CLI), {});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), exitUsage);
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
    EXPECT_FALSE(cli.readAllStandardError().isEmpty());
}

TEST(CommandLine, EscapingKeepsItemsOnTheirLine)
{
    EXPECT_EQ(escaped(u"a\\b\tc\rd\ne"_s), QByteArray("a\\\\b\\tc\\rd\\ne"));
    EXPECT_EQ(escaped(u"在庫　照会"_s), u"在庫　照会"_s.toUtf8());
    EXPECT_EQ(escaped(QString()), QByteArray());
}
