#include "cli/CommandLine.h"
#include "common/Cp932Encoder.h"
#include "support/TestWorkbooks.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

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

// The system's reason for a failed file, which differs between systems and languages,
// shortened to "…".
QString withoutSystemReason(QString err)
{
    return err.replace(QRegularExpression(u"\n理由：[^\n]+\n"_s), u"\n理由：…\n"_s);
}

// The program itself, started by bash with SIGXFSZ ignored (an ignored signal stays ignored
// across exec) and the file size limit `blocks` (1024-byte blocks, or "unlimited"): a write
// beyond the limit fails with EFBIG, as a write to a full disk fails with ENOSPC.
CliRun runWithFileSizeLimit(const QString& blocks, const QStringList& arguments)
{
    QProcess cli;
    cli.start(
        u"/bin/bash"_s,
        QStringList{u"-c"_s,
                    u"trap '' XFSZ; ulimit -f %1 || exit 99; exec \"$0\" \"$@\""_s.arg(blocks),
                    QString::fromUtf8(SETZAIKO_CLI)} +
            arguments);
    CliRun result;
    if (!cli.waitForFinished(30000) || cli.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "the program did not end normally";
        return result;
    }
    result.status = cli.exitCode();
    result.out = QString::fromUtf8(cli.readAllStandardOutput());
    result.err = QString::fromUtf8(cli.readAllStandardError());
    return result;
}

// S001 lists three components; S002 lacks one in the stock master; S003 has one with 0 per
// set; the name of S004 cannot be part of a file name. P01's stock is the text "1,234".
const QString sheets = uR"([
    ('商品マスタ', [
        ['見出し'],
        ['○', 'S001', 'a', 'b', 'c', 'd', 'P01', 'e', 2, 'f'],
        [None, 'S001', 'a', 'b', 'c', 'd', 'P02', 'e', 3, 'f'],
        [None, 'S002', 'a', 'b', 'c', 'd', 'P01', 'e', 1, 'f'],
        [None, 'S001', 'a', 'b', 'c', 'd', 'P03', 'e', 1, 'f'],
        [None, 'S002', 'a', 'b', 'c', 'd', 'PX', 'e', 1, 'f'],
        [None, 'S003', 'a', 'b', 'c', 'd', 'P01', 'e', 1, 'f'],
        [None, 'S003', 'a', 'b', 'c', 'd', 'P02', 'e', 0, 'f'],
        [None, 'S004', 'a', 'b', 'c', 'd', 'P01', 'e', 1, 'f']]),
    ('在庫マスタ', [
        ['○', 'P01', '部品A', '個', '', '1,234', 0, ''],
        [None, 'P02', '部品B', '本', '', 100, 0, ''],
        [None, 'P03', '部品C', '個', '', 20, 0, ''],
        [None, 'S001', 'セットA', '個', '1', 30, 0, 'メモ'],
        [None, 'S002', 'セットB', '箱', '1', 5, 0, ''],
        [None, 'C1', '部品でセット', '個', '0', 1, 0, ''],
        [None, 'S003', 'セットC', '箱', '1', 0, 0, ''],
        [None, 'S004', '箱/袋', '箱', '1', 0, 0, ''],
        [None, 'S001', '重複', '個', '1', 99, 0, ''],
        [None, 'S005', 'タブ\t名\\前', '個', '1', 1234567, 0, '']])])"_s;

// 101 set products S000 to S100; S000 lists the same component 101 times.
const QString manySetsSheets = uR"([
    ('商品マスタ', [['○' if i == 0 else None, 'S000', 'a', 'b', 'c', 'd', 'P01', 'e', 1, 'f']
                   for i in range(101)]),
    ('在庫マスタ', [['○', 'P01', '部品', '個', '', 1, 0, '']] +
                   [[None, 'S%03d' % i, 'セット%d' % i, '個', '1', i, 0, ''] for i in range(101)])])"_s;

// L01 lists 30 components: its file is larger than 1024 bytes.
const QString longSetSheets = uR"([
    ('商品マスタ', [['○' if i == 0 else None, 'L01', 'a', 'b', 'c', 'd', 'P%02d' % i, 'e', 1, 'f']
                   for i in range(30)]),
    ('在庫マスタ', [['○' if i == 0 else None, 'P%02d' % i, '部品%d' % i, '個', '', 100, 0, '']
                   for i in range(30)] + [[None, 'L01', '長いセット', '個', '1', 0, 0, '']])])"_s;

const QString listedS001 = u"1\t部品A\tP01\t1,234\t個\t2\t0\t0\t617\t1234\n"
                           u"2\t部品B\tP02\t100\t本\t3\t0\t0\t33\t99\n"
                           u"3\t部品C\tP03\t20\t個\t1\t0\t0\t20\t20\n"
                           u"追加可能数量\t20\n"_s;

// Set stock 30, order 60: 30 sets to build.
const QString simulatedS001 = u"1\t部品A\tP01\t1,234\t個\t2\t60\t0\t617\t1234\n"
                              u"2\t部品B\tP02\t100\t本\t3\t90\t0\t33\t99\n"
                              u"3\t部品C\tP03\t20\t個\t1\t30\t-10\t20\t20\n"
                              u"追加可能数量\t20\n"_s;

class ComponentCommands : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_book = s_dir->filePath(u"book.xls"_s);
        s_manySets = s_dir->filePath(u"many.xls"_s);
        s_longSet = s_dir->filePath(u"long.xls"_s);
        QString error;
        ASSERT_TRUE(setzaiko::testing::writeWorkbook(s_book, sheets, &error))
            << error.toStdString();
        ASSERT_TRUE(setzaiko::testing::writeWorkbook(s_manySets, manySetsSheets, &error))
            << error.toStdString();
        ASSERT_TRUE(setzaiko::testing::writeWorkbook(s_longSet, longSetSheets, &error))
            << error.toStdString();
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    // A directory for the export, emptied for every test.
    QTemporaryDir out;
    QString outDir() const { return out.path() + QDir::separator(); }
    QStringList files() const
    {
        return QDir(out.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // Everything in the export directory: files, hidden files and directories alike.
    QStringList entries() const
    {
        return QDir(out.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray cp932(const QString& text)
    {
        return setzaiko::Cp932Encoder::create()->encode(text);
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline QString s_book;
    static inline QString s_manySets;
    static inline QString s_longSet;
};

const QString csvHeader = u"商品コード,商品名,受注数量,数量単位,在庫数量,追加可能数量,出荷不足数量,"
                          u"構成商品コード,構成商品名,構成商品在庫数量,構成商品単位,製品構成数量,"
                          u"出荷必要在庫数量,出荷不足在庫数量,\r\n"_s;

TEST_F(ComponentCommands, SearchListsSetProductsAsTheListShowsThem)
{
    CliRun result = run({u"search"_s, s_book});
    EXPECT_EQ(result.status, exitSuccess);
    EXPECT_EQ(result.out, u"1\tセットA\tS001\t30\t個\tメモ\t\n"
                          u"2\tセットB\tS002\t5\t箱\t\t\n"
                          u"3\tセットC\tS003\t0\t箱\t\t\n"
                          u"4\t箱/袋\tS004\t0\t箱\t\t\n"
                          u"5\t重複\tS001\t99\t個\t\t\n"
                          u"6\tタブ\\t名\\\\前\tS005\t1,234,567\t個\t\t\n"_s);
    EXPECT_TRUE(result.err.isEmpty());

    result = run({u"search"_s, s_book, u"--name"_s, u"セット"_s, u"--code"_s, u"S00"_s});
    EXPECT_EQ(result.out, u"1\tセットA\tS001\t30\t個\tメモ\t\n"
                          u"2\tセットB\tS002\t5\t箱\t\t\n"
                          u"3\tセットC\tS003\t0\t箱\t\t\n"_s);
    EXPECT_EQ(result.status, exitSuccess);

    result = run({u"search"_s, s_book, u"--code"_s, u"P01"_s});
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.isEmpty());
    EXPECT_EQ(result.status, exitSuccess);
}

TEST_F(ComponentCommands, SearchReportsTheLimitOnStandardError)
{
    const QString line =
        u"表示行数が100件を超えました。商品コード、商品名で絞込みを行ってください。\n"_s;
    struct Case
    {
        QStringList options;
        QString box;
    };
    const Case cases[] = {
        {{}, u"表示行数が100件を超えました。(100件まで表示) \n"_s},
        {{u"--code"_s, u"S"_s}, u"表示行数が100件を超えました(100件まで表示)\n"_s},
    };
    for (const Case& c : cases) {
        const CliRun result = run(QStringList{u"search"_s, s_manySets} + c.options);
        EXPECT_EQ(result.status, exitSuccess);
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 100);
        EXPECT_EQ(lines.front(), u"1\tセット0\tS000\t0\t個\t\t"_s);
        EXPECT_EQ(lines.back(), u"100\tセット99\tS099\t99\t個\t\t"_s);
        EXPECT_EQ(result.err, c.box + line);
    }
}

TEST_F(ComponentCommands, ComponentsListsTheGridAndTheAddableSets)
{
    struct Case
    {
        const char* name;
        QStringList arguments;
        int status;
        QString out;
        QString err;
    };
    const Case cases[] = {
        {"listing", {u"S001"_s}, exitSuccess, listedS001, {}},
        {"covered order", {u"S001"_s, u"--order"_s, u" 30 "_s}, exitSuccess, listedS001, {}},
        {"simulated order", {u"S001"_s, u"--order"_s, u"６0"_s}, exitSuccess, simulatedS001, {}},
        {"refused order",
         {u"S001"_s, u"--order"_s, u"-0.4"_s},
         exitRefused,
         listedS001,
         u"ZEROは入力できません\n"_s},
        {"order beyond 32 bits",
         {u"S001"_s, u"--order"_s, u"2147483648"_s},
         exitFailure,
         listedS001,
         u"エラーが発生しました E0230\n"_s},
        {"missing component",
         {u"S002"_s, u"--order"_s, u"abc"_s},
         exitRefused,
         u"1\t部品A\tP01\t1,234\t個\t1\t0\t0\t1234\t1234\n追加可能数量\t0\n"_s,
         u"在庫マスタに無い構成部品が存在します。確認してください。\n"_s},
        {"0 per set",
         {u"S003"_s},
         exitFailure,
         u"1\t部品A\tP01\t1,234\t個\t1\t0\t0\t1234\t1234\n"
         u"2\t部品B\tP02\t100\t本\t0\t0\t0\t\t\n追加可能数量\t0\n"_s,
         u"エラーが発生しました E0210\n"_s},
        // --limits adds one last line and changes nothing before it.
        {"limits",
         {u"S001"_s, u"--limits"_s},
         exitSuccess,
         listedS001 + u"制約構成商品\tP03\n"_s,
         {}},
        {"limits of a simulated order",
         {u"S001"_s, u"--limits"_s, u"--order"_s, u"６0"_s},
         exitSuccess,
         simulatedS001 + u"制約構成商品\tP03\n"_s,
         {}},
        {"no limits without a complete listing",
         {u"S002"_s, u"--limits"_s},
         exitRefused,
         u"1\t部品A\tP01\t1,234\t個\t1\t0\t0\t1234\t1234\n追加可能数量\t0\n制約構成商品\t\n"_s,
         u"在庫マスタに無い構成部品が存在します。確認してください。\n"_s},
        {"no such set product", {u"P01"_s}, exitRefused, {}, u"セット商品が見つかりません\n"_s},
        {"set code with a trailing space",
         {u"S001 "_s},
         exitRefused,
         {},
         u"セット商品が見つかりません\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = run(QStringList{u"components"_s, s_book} + c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

TEST_F(ComponentCommands, MoreThanAHundredComponentsListTheFirstHundred)
{
    // The order is never simulated: the listing was not complete.
    const QStringList arguments = {s_manySets, u"S000"_s, u"--order"_s, u"5"_s};
    for (const QStringList& command :
         {QStringList{u"components"_s} + arguments,
          QStringList{u"export"_s} + arguments + QStringList{u"--dir"_s, out.path()}}) {
        SCOPED_TRACE(command.front().toStdString());
        const CliRun result = run(command);
        EXPECT_EQ(result.status, exitRefused);
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 101);
        EXPECT_EQ(lines[99], u"100\t部品\tP01\t1\t個\t1\t0\t0\t1\t1"_s);
        EXPECT_EQ(lines[100], u"追加可能数量\t0"_s);
        EXPECT_EQ(result.err, u"表示行数が100件を超えました(100件まで表示)\n"
                              u"構成部品が100件を超えています。確認してください。\n"_s);
        EXPECT_TRUE(files().isEmpty());
    }
}

TEST_F(ComponentCommands, ExportWritesTheFileAfterTheComponents)
{
    const CliRun result = run({u"export"_s, s_book, u"S001"_s, u"--order"_s, u"60"_s, u"--dir"_s,
                               outDir(), u"--time"_s, u"200512134530"_s});
    const QString path = out.filePath(u"S001_セットA_200512134530.csv"_s);
    EXPECT_EQ(result.status, exitSuccess);
    EXPECT_EQ(result.out, simulatedS001 + path + u"\n3 件のデータを出力しました\n"_s);
    EXPECT_TRUE(result.err.isEmpty());
    EXPECT_EQ(contents(path),
              cp932(csvHeader + u"S001,セットA,60,個,30,20,10,P01,部品A,1234,個,2,60,0,\r\n"
                                u"S001,セットA,60,個,30,20,10,P02,部品B,100,本,3,90,0,\r\n"
                                u"S001,セットA,60,個,30,20,10,P03,部品C,20,個,1,30,-10,\r\n"_s));
}

TEST_F(ComponentCommands, ExportWhateverBecameOfTheOrder)
{
    const QString path = out.filePath(u"S001_セットA_991231235959.csv"_s);
    // %1 is the exported order: the one the plain listing goes with.
    const QString plainLines = u"S001,セットA,%1,個,30,20,0,P01,部品A,1234,個,2,0,0,\r\n"
                               u"S001,セットA,%1,個,30,20,0,P02,部品B,100,本,3,0,0,\r\n"
                               u"S001,セットA,%1,個,30,20,0,P03,部品C,20,個,1,0,0,\r\n"_s;
    struct Case
    {
        const char* name;
        QStringList order;
        int status;
        QString err;
        QString exportedOrder = u"0"_s;
    };
    const Case cases[] = {
        {"no order", {}, exitSuccess, {}},
        {"refused order", {u"--order"_s, u"abc"_s}, exitRefused, u"数字を入力してください\n"_s},
        {"failed order", {u"--order"_s, u"1e10"_s}, exitFailure, u"エラーが発生しました E0230\n"_s},
        // The set stock covers the order: the plain listing is what it needs.
        {"covered order", {u"--order"_s, u"30"_s}, exitSuccess, {}, u"30"_s},
        // Failed at the first row's shipment: no shipment of that order is shown.
        {"order failing before any shipment",
         {u"--order"_s, u"2147483647"_s},
         exitFailure,
         u"エラーが発生しました E0230\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        const CliRun result = run(QStringList{u"export"_s, s_book, u"S001"_s, u"--dir"_s,
                                              out.path(), u"--time"_s, u"991231235959"_s} +
                                  c.order);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, listedS001 + path + u"\n3 件のデータを出力しました\n"_s);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(contents(path), cp932(csvHeader + plainLines.arg(c.exportedOrder)));
    }
}

TEST_F(ComponentCommands, ExportDirectoryChoices)
{
    // Without --dir the file goes beside the workbook; without --time it is stamped now.
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    CliRun result = run({u"export"_s, s_book, u"S001"_s});
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(result.status, exitSuccess);
    const QStringList lines = result.out.split(u'\n');
    ASSERT_EQ(lines.size(), 7);
    const QString prefix = s_dir->filePath(u"S001_セットA_"_s);
    ASSERT_TRUE(lines[4].startsWith(prefix) && lines[4].endsWith(u".csv"_s))
        << lines[4].toStdString();
    const QDateTime stamp =
        QDateTime::fromString(u"20"_s + lines[4].mid(prefix.size(), 12), u"yyyyMMddHHmmss"_s);
    EXPECT_TRUE(stamp >= before && stamp <= after) << lines[4].toStdString();
    EXPECT_EQ(lines[5], u"3 件のデータを出力しました"_s);
    EXPECT_TRUE(QFile::remove(lines[4]));

    // An empty directory text is the current directory.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(out.path()));
    result =
        run({u"export"_s, s_book, u"S001"_s, u"--dir"_s, u""_s, u"--time"_s, u"200101000000"_s});
    QDir::setCurrent(previous);
    EXPECT_EQ(result.status, exitSuccess);
    EXPECT_TRUE(
        result.out.endsWith(u"\nS001_セットA_200101000000.csv\n3 件のデータを出力しました\n"_s))
        << result.out.toStdString();
    EXPECT_EQ(files(), QStringList{u"S001_セットA_200101000000.csv"_s});
}

TEST_F(ComponentCommands, ExportFailuresAndIncompleteListingsWriteNoFile)
{
    struct Case
    {
        const char* name;
        QStringList arguments;
        int status;
        QString out;
        QString err;
    };
    const QString failed = u"エラーが発生しました E0220\n"_s;
    const Case cases[] = {
        {"missing directory",
         {u"S001"_s, u"--order"_s, u"-3"_s, u"--dir"_s, out.filePath(u"missing"_s)},
         exitFailure,
         listedS001,
         u"マイナス数量は入力できません\n"_s + failed +
             u"出力先のフォルダーがありません。\nフォルダー："_s + out.filePath(u"missing/"_s) +
             u"\n理由：…\n"_s},
        {"name holds a slash",
         {u"S004"_s, u"--dir"_s, out.path()},
         exitFailure,
         u"1\t部品A\tP01\t1,234\t個\t1\t0\t0\t1234\t1234\n追加可能数量\t1,234\n"_s,
         failed + u"セット商品のコードか名前に、ファイル名に使えない文字（\\\\ / : * ? \" < > | "
                  u"や制御文字）があります。\n商品名：箱/袋\n"_s},
        {"missing component",
         {u"S002"_s, u"--dir"_s, out.path()},
         exitRefused,
         u"1\t部品A\tP01\t1,234\t個\t1\t0\t0\t1234\t1234\n追加可能数量\t0\n"_s,
         u"在庫マスタに無い構成部品が存在します。確認してください。\n"_s},
        {"listing failed",
         {u"S003"_s, u"--order"_s, u"5"_s, u"--dir"_s, out.path()},
         exitFailure,
         u"1\t部品A\tP01\t1,234\t個\t1\t0\t0\t1234\t1234\n"
         u"2\t部品B\tP02\t100\t本\t0\t0\t0\t\t\n追加可能数量\t0\n"_s,
         u"エラーが発生しました E0210\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = run(QStringList{u"export"_s, s_book} + c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(withoutSystemReason(result.err), c.err);
        EXPECT_TRUE(files().isEmpty());
    }
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(ComponentCommands, ExportToAFullDiskFailsAndWritesNoFile)
{
    const QString name = u"S001_セットA_200512134530.csv"_s;
    const QStringList arguments = {u"export"_s, s_book,   u"S001"_s,   u"--order"_s,     u"60"_s,
                                   u"--dir"_s,  outDir(), u"--time"_s, u"200512134530"_s};

    // The program, run this way with room enough, writes the file.
    CliRun result = runWithFileSizeLimit(u"unlimited"_s, arguments);
    EXPECT_EQ(result.status, exitSuccess);
    EXPECT_EQ(result.out, simulatedS001 + out.filePath(name) + u"\n3 件のデータを出力しました\n"_s);
    ASSERT_EQ(entries(), QStringList{name});
    ASSERT_TRUE(QFile::remove(out.filePath(name)));

    // The failure is reported as every other failed export is, with a cause of its own.
    const CliRun otherFailure =
        runWithFileSizeLimit(u"0"_s, {u"export"_s, s_book, u"S004"_s, u"--dir"_s, out.path()});
    EXPECT_EQ(otherFailure.status, exitFailure);
    EXPECT_TRUE(otherFailure.err.startsWith(u"エラーが発生しました E0220\n"_s));
    const QString cannotWrite = u"エラーが発生しました E0220\n"
                                u"出力先のフォルダーにファイルを書き込めません。\nフォルダー："_s +
                                outDir() + u"\n理由：…\n"_s;

    // Not one byte fits.
    result = runWithFileSizeLimit(u"0"_s, arguments);
    EXPECT_EQ(result.status, exitFailure);
    EXPECT_EQ(result.out, simulatedS001);
    EXPECT_EQ(withoutSystemReason(result.err), cannotWrite);
    EXPECT_TRUE(entries().isEmpty()) << entries().join(u' ').toStdString();

    // An earlier file of that name stays as it was, and nothing is left beside it.
    const QByteArray earlier = cp932(u"前回の出力,1\r\n"_s);
    writeFile(out.filePath(name), earlier);
    result = runWithFileSizeLimit(u"0"_s, arguments);
    EXPECT_EQ(result.status, exitFailure);
    EXPECT_EQ(result.out, simulatedS001);
    EXPECT_EQ(withoutSystemReason(result.err), cannotWrite);
    EXPECT_EQ(contents(out.filePath(name)), earlier);
    EXPECT_EQ(entries(), QStringList{name});
}

TEST_F(ComponentCommands, ExportThatOutgrowsTheDiskLeavesNoPartialFile)
{
    const QString name = u"L01_長いセット_200512134530.csv"_s;
    const QString path = out.filePath(name);
    const QStringList arguments = {u"export"_s, s_longSet,   u"L01"_s,         u"--dir"_s,
                                   out.path(),  u"--time"_s, u"200512134530"_s};

    // Without a limit the file is larger than the one block the limit below lets through.
    const CliRun whole = run(arguments);
    ASSERT_EQ(whole.status, exitSuccess);
    ASSERT_TRUE(whole.out.endsWith(path + u"\n30 件のデータを出力しました\n"_s))
        << whole.out.toStdString();
    const QString listing = whole.out.left(whole.out.size() - path.size() -
                                           u"\n30 件のデータを出力しました\n"_s.size());
    ASSERT_GT(contents(path).size(), 1024);
    ASSERT_TRUE(QFile::remove(path));

    // The first 1024 bytes are written, the rest fails.
    CliRun result = runWithFileSizeLimit(u"1"_s, arguments);
    EXPECT_EQ(result.status, exitFailure);
    EXPECT_EQ(result.out, listing);
    EXPECT_EQ(withoutSystemReason(result.err),
              u"エラーが発生しました E0220\n"
              u"出力先のフォルダーにファイルを書き込めません。\nフォルダー："_s +
                  out.path() + u"/\n理由：…\n"_s);
    EXPECT_TRUE(entries().isEmpty()) << entries().join(u' ').toStdString();

    const QByteArray earlier = cp932(u"前回の出力,1\r\n"_s);
    writeFile(path, earlier);
    result = runWithFileSizeLimit(u"1"_s, arguments);
    EXPECT_EQ(result.status, exitFailure);
    EXPECT_EQ(result.out, listing);
    EXPECT_EQ(withoutSystemReason(result.err),
              u"エラーが発生しました E0220\n"
              u"出力先のフォルダーにファイルを書き込めません。\nフォルダー："_s +
                  out.path() + u"/\n理由：…\n"_s);
    EXPECT_EQ(contents(path), earlier);
    EXPECT_EQ(entries(), QStringList{name});
}

TEST_F(ComponentCommands, ImportOutcomeComesFirst)
{
    const QString missing = s_dir->filePath(u"missing.xls"_s);
    const CliRun imported = run({u"import"_s, missing});
    ASSERT_EQ(imported.status, exitFailure);
    for (const QStringList& arguments :
         {QStringList{u"search"_s, missing}, QStringList{u"components"_s, missing, u"S001"_s},
          QStringList{u"export"_s, missing, u"S001"_s, u"--dir"_s, out.path()}}) {
        SCOPED_TRACE(arguments.front().toStdString());
        const CliRun result = run(arguments);
        EXPECT_EQ(result.status, imported.status);
        EXPECT_EQ(result.out, imported.out);
        EXPECT_EQ(result.err, imported.err);
    }
    EXPECT_TRUE(files().isEmpty());
}

const QString planSetHeadings =
    u"No.\t商品コード\t商品名\t在庫数\t受注数\t組立数\t単独\tまとめて\n"_s;
const QString planComponentHeadings =
    u"No.\t構成商品名\t構成商品コード\t在庫数\t単位\t必要数\t出荷数\t不足在庫数\n"_s;

TEST_F(ComponentCommands, PlanSumsTheNeedsOfSeveralSets)
{
    const QString conflict = u"単独では出荷できても、まとめると不足するセット商品があります。\n"_s;
    struct Case
    {
        const char* name;
        QStringList items;
        int status;
        QString out;
        QString err;
    };
    const Case cases[] = {
        // S004 alone fits P01's stock; beside S001 it does not.
        {"two sets sharing a component",
         {u"S001=60"_s, u"S004=1,200"_s},
         exitSuccess,
         planSetHeadings +
             u"1\tS001\tセットA\t30\t60\t30\t不足\t不足\n"
             u"2\tS004\t箱/袋\t0\t1,200\t1,200\t可\t不足\n"_s +
             planComponentHeadings +
             u"1\t部品A\tP01\t1,234\t個\t1,260\t1,234\t-26\n"
             u"2\t部品B\tP02\t100\t本\t90\t90\t0\n"
             u"3\t部品C\tP03\t20\t個\t30\t20\t-10\n"_s,
         conflict},
        // One set: the need and the shortage are the simulation's shipment and shortage.
        {"one set named twice",
         {u"S001=50"_s, u"S001=１0"_s},
         exitSuccess,
         planSetHeadings + u"1\tS001\tセットA\t30\t60\t30\t不足\t不足\n"_s + planComponentHeadings +
             u"1\t部品A\tP01\t1,234\t個\t60\t60\t0\n"
             u"2\t部品B\tP02\t100\t本\t90\t90\t0\n"
             u"3\t部品C\tP03\t20\t個\t30\t20\t-10\n"_s,
         u"不足する構成商品があります。\n"_s},
        {"missing component",
         {u"S001=1"_s, u"S002=1"_s},
         exitRefused,
         {},
         u"在庫マスタに無い構成部品が存在します。確認してください。\n"_s},
        {"no such set product",
         {u"P01=1"_s},
         exitRefused,
         {},
         u"セット商品が見つかりません：P01\n"_s},
        {"refused quantity", {u"S001=abc"_s}, exitRefused, {}, u"数字を入力してください\n"_s},
        {"zero", {u"S001="_s}, exitRefused, {}, u"受注予定数を入力してください\n"_s},
        {"quantity beyond 32 bits",
         {u"S001=2147483648"_s},
         exitFailure,
         {},
         u"エラーが発生しました E0230\n"_s},
        {"sum beyond 32 bits",
         {u"S001=2147483647"_s, u"S001=1"_s},
         exitFailure,
         {},
         u"エラーが発生しました E0230\n"_s},
        {"0 per set", {u"S003=1"_s}, exitFailure, {}, u"エラーが発生しました E0210\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = run(QStringList{u"plan"_s, s_book} + c.items);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(ComponentCommands, PlanExportWritesTheCombinedFile)
{
    const CliRun result = run({u"plan"_s, s_book, u"S001=60"_s, u"S004=1200"_s, u"--export"_s,
                               out.path(), u"--time"_s, u"200512134530"_s});
    const QString path = outDir() + u"まとめ_200512134530.csv"_s;
    EXPECT_EQ(result.status, exitSuccess);
    EXPECT_TRUE(result.out.endsWith(path + u"\n3 件のデータを出力しました\n"_s));
    EXPECT_EQ(contents(path),
              cp932(u"構成商品コード,構成商品名,構成商品在庫数量,構成商品単位,出荷必要在庫数量,"
                    u"出荷在庫数量,出荷不足在庫数量,\r\n"
                    u"P01,部品A,1234,個,1260,1234,-26,\r\n"
                    u"P02,部品B,100,本,90,90,0,\r\n"
                    u"P03,部品C,20,個,30,20,-10,\r\n"_s));

    const CliRun missing =
        run({u"plan"_s, s_book, u"S001=60"_s, u"--export"_s, out.filePath(u"missing"_s)});
    EXPECT_EQ(missing.status, exitFailure);
    EXPECT_TRUE(
        missing.err.contains(u"エラーが発生しました E0220\n出力先のフォルダーがありません。"_s));
    EXPECT_EQ(files(), QStringList{u"まとめ_200512134530.csv"_s});
}

TEST_F(ComponentCommands, UsageErrors)
{
    const QString book = s_book;
    const QStringList cases[] = {
        {u"search"_s},
        {u"search"_s, book, u"extra"_s},
        {u"search"_s, book, u"--code"_s},
        {u"search"_s, book, u"--order"_s, u"1"_s},
        {u"components"_s, book},
        {u"components"_s, book, u"S001"_s, u"--dir"_s, u"/tmp"_s},
        {u"components"_s, book, u"S001"_s, u"--order"_s, u"1"_s, u"--order"_s, u"2"_s},
        {u"components"_s, book, u"S001"_s, u"--limits"_s, u"--limits"_s},
        {u"export"_s, book, u"S001"_s, u"--limits"_s},
        {u"plan"_s, book},
        {u"plan"_s, book, u"S001"_s},
        {u"plan"_s, book, u"=5"_s},
        {u"plan"_s, book, u"S001=5"_s, u"--export"_s},
        {u"plan"_s, book, u"S001=5"_s, u"--dir"_s, u"/tmp"_s},
        {u"plan"_s, book, u"S001=5"_s, u"--time"_s, u"2005121345"_s},
        {u"export"_s, book, u"S001"_s, u"--time"_s, u"2005121345"_s},
        {u"export"_s, book, u"S001"_s, u"--time"_s, u"201312250000"_s},
        {u"export"_s, book, u"S001"_s, u"--time"_s, u"20051213453x"_s},
        {u"export"_s, book, u"S001"_s, u"--time"_s, u"200512246000"_s},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CliRun result = run(arguments);
        EXPECT_EQ(result.status, exitUsage);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith(u"usage: "_s));
    }
}

} // namespace
