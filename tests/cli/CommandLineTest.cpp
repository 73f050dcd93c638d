#include "cli/CommandLine.h"

#include "support/TestWorkbooks.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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

CliRun run(const QStringList& arguments,
           setzaiko::MessageLanguage language = setzaiko::MessageLanguage::English)
{
    QByteArray out;
    QByteArray err;
    CliRun result;
    result.status = runCommandLine(arguments, out, err, language);
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

// The words a script or a reader matches on one usage line (program, command, options and
// brackets), space-separated.
std::string commandWords(const QString& line)
{
    QStringList words;
    static const QRegularExpression word(
        u"(--[a-z]+|(?<![\\w-])(?:setzaiko-cli|import|search|components|export|plan|YYMMDDhhmmss)"
        u"(?![\\w-])|[|\\[\\]])"_s);
    for (auto match = word.globalMatch(line); match.hasNext();) {
        words << match.next().captured(1);
    }
    return words.join(u' ').toStdString();
}

TEST(CommandLine, UsageInBothLanguagesHasTheSameShape)
{
    const CliRun english = run({}, setzaiko::MessageLanguage::English);
    const CliRun japanese = run({u"import"_s}, setzaiko::MessageLanguage::Japanese);
    EXPECT_EQ(japanese.status, exitUsage);
    EXPECT_TRUE(japanese.out.isEmpty());
    EXPECT_TRUE(english.err.startsWith(u"usage: setzaiko-cli import BOOK\n"_s));
    EXPECT_TRUE(japanese.err.startsWith(u"使用法: setzaiko-cli import ブック\n"_s));

    const QStringList englishLines = english.err.split(u'\n');
    const QStringList japaneseLines = japanese.err.split(u'\n');
    ASSERT_EQ(englishLines.size(), japaneseLines.size());
    EXPECT_EQ(englishLines.size(), 7); // six lines, each ending in a line feed
    for (qsizetype i = 0; i < englishLines.size(); ++i) {
        SCOPED_TRACE(englishLines[i].toStdString());
        EXPECT_EQ(commandWords(japaneseLines[i]), commandWords(englishLines[i]));
        // Continuation lines start under the program name of the first line, as a terminal
        // shows it: 使用法 takes six columns.
        if (i > 0 && !englishLines[i].isEmpty()) {
            EXPECT_TRUE(englishLines[i].startsWith(QString(7, u' ') + u"setzaiko-cli "_s));
            EXPECT_TRUE(japaneseLines[i].startsWith(QString(8, u' ') + u"setzaiko-cli "_s));
        }
    }
    // Every command is in the usage, with every option it takes.
    EXPECT_EQ(commandWords(englishLines[3]),
              "setzaiko-cli export [ --order ] [ --dir ] [ --time YYMMDDhhmmss ]");
    EXPECT_EQ(commandWords(englishLines[4]),
              "setzaiko-cli plan [ ] [ --export ] [ --time YYMMDDhhmmss ]");
    EXPECT_EQ(commandWords(englishLines[5]), "setzaiko-cli --help | --version");
}

TEST(CommandLine, VersionAndHelp)
{
    const QString versionLine = u"setzaiko-cli " SETZAIKO_VERSION "\n"_s;
    EXPECT_TRUE(QRegularExpression(u"^setzaiko-cli \\d+\\.\\d+\\.\\d+\\n$"_s)
                    .match(versionLine)
                    .hasMatch());
    struct Case
    {
        const char* name;
        QStringList arguments;
        setzaiko::MessageLanguage language;
        QStringList contained; // in this order
    };
    const auto en = setzaiko::MessageLanguage::English;
    const auto ja = setzaiko::MessageLanguage::Japanese;
    const Case cases[] = {
        {"version", {u"--version"_s}, en, {versionLine}},
        {"version in Japanese", {u"--version"_s}, ja, {versionLine}},
        {"help",
         {u"--help"_s},
         en,
         {versionLine, u"usage: setzaiko-cli import BOOK\n"_s, u"--help | --version\n"_s,
          u"\n  Excel 97-2003 workbook (*.xls)"_s,
          u"\n  Excel 2007 or later workbook (*.xlsx *.xlsm)"_s, u"\n  import "_s, u"\n  search "_s,
          u"\n  components "_s, u"\n  export "_s, u"\n  plan "_s, u"Exit status: 0 success"_s,
          u"64 usage error"_s, u"setzaiko-cli(1)"_s}},
        {"help in Japanese",
         {u"--help"_s},
         ja,
         {versionLine, u"使用法: setzaiko-cli import ブック\n"_s, u"--help | --version\n"_s,
          u"\n  Excel 97-2003 形式のブック (*.xls)"_s,
          u"\n  Excel 2007 以降の形式のブック (*.xlsx *.xlsm)"_s, u"\n  import "_s,
          u"\n  search "_s, u"\n  components "_s, u"\n  export "_s, u"\n  plan "_s,
          u"終了コード: 0 成功"_s, u"64 使い方の誤り"_s, u"setzaiko-cli(1)"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = run(c.arguments, c.language);
        EXPECT_EQ(result.status, exitSuccess);
        EXPECT_TRUE(result.err.isEmpty());
        EXPECT_TRUE(result.out.endsWith(u'\n'));
        qsizetype from = 0;
        for (const QString& part : c.contained) {
            const qsizetype at = result.out.indexOf(part, from);
            EXPECT_NE(at, -1) << part.toStdString() << " in\n" << result.out.toStdString();
            from = at < 0 ? from : at + part.size();
        }
        if (c.contained.size() == 1) {
            EXPECT_EQ(result.out, c.contained.front());
        }
    }

    // The two options stand alone; anywhere else they are usage errors.
    for (const QStringList& arguments :
         {QStringList{u"--version"_s, u"import"_s}, QStringList{u"import"_s, u"--help"_s},
          QStringList{u"--help"_s, u"--version"_s}, QStringList{u"-h"_s}}) {
        const CliRun result = run(arguments);
        EXPECT_EQ(result.status, exitUsage) << arguments.join(u' ').toStdString();
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

    // Standard error carries the cause the failure box keeps behind its details button.
    struct Case
    {
        QString book;
        int status;
        QString out;
        QString err;
    };
    const Case cases[] = {
        {notNumeric,
         exitRefused,
         u"商品マスタ取込件数\t1\n在庫マスタ取込件数\t1\n総件数\t2\n"
         u"取込エラー：在庫数に数字以外の項目が存在します。\n"_s,
         {}},
        {narrow, exitFailure,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\n"
         u"取込みエラーが発生しました\n取込みエラーが発生しました\n"_s,
         u"マスタのシートに必要な列がありません。\n"
         u"a requested column lies beyond the worksheet's used part\n"_s},
        {notABook, exitFailure,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\n"
         u"取込みエラーが発生しました\n取込みエラーが発生しました\n"_s,
         u"Excel のブック（.xls・.xlsx・.xlsm）ではありません。\n"_s + notABook + u'\n'},
        {dir.filePath(u"missing.xls"_s), exitFailure,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\n"
         u"取込みエラーが発生しました\n取込みエラーが発生しました\n"_s,
         u"指定されたファイルが見つかりません。\n"_s + dir.filePath(u"missing.xls"_s) + u'\n'},
        {u"  "_s,
         exitRefused,
         u"商品マスタ取込件数\t\n在庫マスタ取込件数\t\n総件数\t\nファイルを選択してください\n"_s,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.book.toStdString());
        const CliRun result = run({u"import"_s, c.book});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
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

    // Output that cannot be written is a failure, whatever the command did.
    if (QFileInfo::exists(u"/dev/full"_s)) {
        cli.setStandardOutputFile(u"/dev/full"_s);
        cli.start(QString::fromUtf8(SETZAIKO_CLI), {u"import"_s, book});
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), exitFailure);
        cli.setStandardOutputFile(QString());
    }

    cli.start(QString::fromUtf8(SETZAIKO_CLI), {});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), exitUsage);
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
    EXPECT_FALSE(cli.readAllStandardError().isEmpty());
}

TEST(CommandLine, TheProgramTakesTheLanguageOfItsUsageFromTheLocale)
{
    struct Case
    {
        const char* name;
        QStringList set;   // NAME=value
        QString usageHead; // what standard error starts with
    };
    const Case cases[] = {
        {"Japanese LANG", {u"LANG=ja_JP.UTF-8"_s}, u"使用法: "_s},
        {"Japanese LC_MESSAGES", {u"LANG=C.UTF-8"_s, u"LC_MESSAGES=ja_JP.UTF-8"_s}, u"使用法: "_s},
        {"LC_ALL overrides", {u"LANG=ja_JP.UTF-8"_s, u"LC_ALL=C"_s}, u"usage: "_s},
        {"English", {u"LANG=en_US.UTF-8"_s}, u"usage: "_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
            environment.remove(QString::fromLatin1(variable));
        }
        for (const QString& assignment : c.set) {
            environment.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
        }
        QProcess cli;
        cli.setProcessEnvironment(environment);
        cli.start(QString::fromUtf8(SETZAIKO_CLI), {u"search"_s});
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), exitUsage);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        EXPECT_TRUE(err.startsWith(c.usageHead)) << err.toStdString();
    }
}

TEST(CommandLine, EscapingKeepsItemsOnTheirLine)
{
    EXPECT_EQ(escaped(u"a\\b\tc\rd\ne"_s), QByteArray("a\\\\b\\tc\\rd\\ne"));
    EXPECT_EQ(escaped(u"在庫　照会"_s), u"在庫　照会"_s.toUtf8());
    EXPECT_EQ(escaped(QString()), QByteArray());
}
