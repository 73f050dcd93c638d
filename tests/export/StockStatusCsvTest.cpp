#include "export/StockStatusCsv.h"

#include "export/ExportTexts.h"
#include "support/FailingDevice.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::FailingDevice;

// The grid cells of one component row, columns 1 to 7, as the window shows them.
struct GridRow
{
    QString name = u"部品A"_s;
    QString code = u"P01"_s;
    QString stock = u"1,234"_s;
    QString unit = u"個"_s;
    QString perSet = u"2"_s;
    QString shipment = u"40"_s;
    QString shortage = u"0"_s;
};

StockStatusScreen screenOf(const std::vector<GridRow>& rows = {GridRow()})
{
    StockStatusScreen screen;
    screen.setCode = u"S001"_s;
    screen.setName = u"セットA"_s;
    screen.orderText = u"50"_s;
    screen.stockText = u"30"_s;
    screen.addableText = u"15"_s;
    screen.unitText = u"個"_s;
    screen.rowText = QString::number(rows.size());
    screen.cell = [rows](int row, int column) -> std::optional<QString> {
        if (row < 1 || row > 100) {
            return std::nullopt;
        }
        if (row > static_cast<int>(rows.size())) {
            return QString();
        }
        const GridRow& r = rows[static_cast<std::size_t>(row - 1)];
        const QString cells[] = {QString(), r.name,   r.code,     r.stock,
                                 r.unit,    r.perSet, r.shipment, r.shortage};
        return column < 8 ? cells[column] : QString();
    };
    return screen;
}

// A screen whose every text is ASCII, so that its lines can be compared as text.
StockStatusScreen asciiScreen(std::vector<GridRow> rows = {GridRow()})
{
    for (GridRow& row : rows) {
        row.name = u"PartA"_s;
        row.unit = u"pc"_s;
    }
    StockStatusScreen screen = screenOf(rows);
    screen.setName = u"SetA"_s;
    screen.unitText = u"pc"_s;
    return screen;
}

QByteArray csv(const StockStatusScreen& screen, int* lines = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const int written = writeStockStatus(screen, buffer, *Cp932Encoder::create());
    if (lines) {
        *lines = written;
    }
    return buffer.data();
}

QByteArrayList linesOf(const QByteArray& bytes)
{
    QByteArrayList lines = bytes.split('\n');
    EXPECT_TRUE(lines.takeLast().isEmpty()); // the last line ends in CR LF too
    return lines;
}

const QByteArray header =
    QByteArray::fromHex("8FA4 9569 8352 815B 8368 2C"                // 商品コード
                        "8FA4 9569 96BC 2C"                          // 商品名
                        "8EF3 928D 9094 97CA 2C"                     // 受注数量
                        "9094 97CA 9250 88CA 2C"                     // 数量単位
                        "8DDD 8CC9 9094 97CA 2C"                     // 在庫数量
                        "92C7 89C1 89C2 945C 9094 97CA 2C"           // 追加可能数量
                        "8F6F 89D7 9573 91AB 9094 97CA 2C"           // 出荷不足数量
                        "8D5C 90AC 8FA4 9569 8352 815B 8368 2C"      // 構成商品コード
                        "8D5C 90AC 8FA4 9569 96BC 2C"                // 構成商品名
                        "8D5C 90AC 8FA4 9569 8DDD 8CC9 9094 97CA 2C" // 構成商品在庫数量
                        "8D5C 90AC 8FA4 9569 9250 88CA 2C"           // 構成商品単位
                        "90BB 9569 8D5C 90AC 9094 97CA 2C"           // 製品構成数量
                        "8F6F 89D7 954B 9776 8DDD 8CC9 9094 97CA 2C" // 出荷必要在庫数量
                        "8F6F 89D7 9573 91AB 8DDD 8CC9 9094 97CA 2C" // 出荷不足在庫数量
                        "0D0A");

// S001,セットA,50,個,30,15,5,P01,部品A,1234,個,2,40,0,
const QByteArray typicalLine = QByteArray("S001,") + QByteArray::fromHex("835A 8362 8367") +
                               "A,50," + QByteArray::fromHex("8CC2") + ",30,15,5,P01," +
                               QByteArray::fromHex("9594 9569") + "A,1234," +
                               QByteArray::fromHex("8CC2") + ",2,40,0,\r\n";

TEST(StockStatusCsv, WritesHeaderAndLinesInCodePage932WithCrLf)
{
    int lines = -1;
    EXPECT_EQ(csv(screenOf(), &lines), header + typicalLine);
    EXPECT_EQ(lines, 1);

    EXPECT_EQ(csv(screenOf({GridRow(), GridRow(), GridRow()}), &lines),
              header + typicalLine + typicalLine + typicalLine);
    EXPECT_EQ(lines, 3);

    EXPECT_EQ(csv(screenOf({}), &lines), header);
    EXPECT_EQ(lines, 0);
}

TEST(StockStatusCsv, SetShortageIsWhatTheOrderNeedsBeyondStockAndAddableSets)
{
    struct Case
    {
        QString order;
        QString stock;
        QString addable;
        QByteArray setFields; // fields 3 to 7
    };
    const Case cases[] = {
        {u"50"_s, u"30"_s, u"15"_s, "50,pc,30,15,5"},
        {u"45"_s, u"30"_s, u"15"_s, "45,pc,30,15,0"},
        {u"44"_s, u"30"_s, u"15"_s, "44,pc,30,15,0"},
        {u""_s, u"30"_s, u"15"_s, "0,pc,30,15,0"},
        {u"   "_s, u"30"_s, u"15"_s, "0,pc,30,15,0"},
        // No order means no shortage, however low the stock.
        {u""_s, u"-10"_s, u"0"_s, "0,pc,-10,0,0"},
        {u"3000"_s, u"1,234"_s, u"1,000"_s, "3000,pc,1234,1000,766"},
        {u"50"_s, u"30"_s, u"-15"_s, "50,pc,30,-15,35"},
        {u"1,000"_s, u"1,234,567"_s, u"-3"_s, "1000,pc,1234567,-3,0"},
        // Sums that no rule needs cannot fail the export.
        {u""_s, u"2,147,483,647"_s, u"1"_s, "0,pc,2147483647,1,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.order + u'/' + c.stock + u'/' + c.addable).toStdString());
        StockStatusScreen screen = asciiScreen();
        screen.orderText = c.order;
        screen.stockText = c.stock;
        screen.addableText = c.addable;
        const QByteArrayList lines = linesOf(csv(screen));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1], "S001,SetA," + c.setFields + ",P01,PartA,1234,pc,2,40,0,\r");
    }
}

TEST(StockStatusCsv, ShownNumbersAreWrittenPlainAndTextsAsTheyStand)
{
    struct Case
    {
        GridRow row;
        QByteArray fields; // fields 8 to 14
    };
    const auto row = [](QString stock, QString perSet, QString shipment, QString shortage) {
        GridRow r;
        r.stock = stock;
        r.perSet = perSet;
        r.shipment = shipment;
        r.shortage = shortage;
        return r;
    };
    const Case cases[] = {
        {row(u"1,234"_s, u"2"_s, u"40"_s, u"0"_s), "P01,PartA,1234,pc,2,40,0"},
        {row(u"0"_s, u"1"_s, u"1,200"_s, u"-1,200"_s), "P01,PartA,0,pc,1,1200,-1200"},
        {row(u"-7"_s, u"1,000"_s, u"12,345,678"_s, u"-2,147,483,648"_s),
         "P01,PartA,-7,pc,1000,12345678,-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields.toStdString());
        StockStatusScreen screen = asciiScreen({c.row});
        screen.setCode = u" S1"_s;
        screen.unitText = u"pc 　 "_s;
        EXPECT_EQ(linesOf(csv(screen)).at(1), " S1,SetA,50,pc,30,15,5," + c.fields + ",\r");
    }
}

TEST(StockStatusCsv, FieldsHoldingSeparatorsAreQuoted)
{
    struct Case
    {
        QString text;
        QByteArray field;
    };
    const Case cases[] = {
        {u"a,b"_s, "\"a,b\""},
        {u"say \"hi\""_s, "\"say \"\"hi\"\"\""},
        {u"two\r\nlines"_s, "\"two\r\nlines\""},
        {u"lf\n"_s, "\"lf\n\""},
        {u"cr\r"_s, "\"cr\r\""},
        {u"a;b'c\t"_s, "a;b'c\t"},
        {u""_s, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        std::vector<GridRow> rows(1);
        rows[0].code = c.text;
        StockStatusScreen screen = asciiScreen(rows);
        screen.unitText = c.text;
        EXPECT_EQ(csv(screen), header + "S001,SetA,50," + c.field + ",30,15,5," + c.field +
                                   ",PartA,1234,pc,2,40,0,\r\n");
    }
    StockStatusScreen screen = asciiScreen();
    screen.setName = u"Set,A"_s;
    EXPECT_TRUE(linesOf(csv(screen)).at(1).startsWith("S001,\"Set,A\",50,"));
}

TEST(StockStatusCsv, TextsThatAreNotNumbersFailTheExport)
{
    struct Case
    {
        const char* name;
        std::function<void(StockStatusScreen&)> change;
    };
    const auto gridCell = [](int column, QString text) {
        return [column, text](StockStatusScreen& screen) {
            screen.cell = [inner = screen.cell, column, text](int row, int c) {
                return c == column ? std::optional<QString>(text) : inner(row, c);
            };
        };
    };
    const Case cases[] = {
        {"row count text", [](StockStatusScreen& s) { s.rowText = u"x"_s; }},
        {"row count negative", [](StockStatusScreen& s) { s.rowText = u"-1"_s; }},
        {"row count beyond 16 bits", [](StockStatusScreen& s) { s.rowText = u"32768"_s; }},
        {"row beyond the grid",
         [](StockStatusScreen& s) {
             s.rowText = u"101"_s;
             s.cell = [inner = s.cell](int row, int c) {
                 return row <= 100 ? inner(1, c) : std::nullopt;
             };
         }},
        {"row never listed", [](StockStatusScreen& s) { s.rowText = u"2"_s; }},
        {"set stock empty", [](StockStatusScreen& s) { s.stockText = u""_s; }},
        {"addable text", [](StockStatusScreen& s) { s.addableText = u"abc"_s; }},
        {"order text", [](StockStatusScreen& s) { s.orderText = u"1.2.3"_s; }},
        {"order beyond 32 bits", [](StockStatusScreen& s) { s.orderText = u"2147483648"_s; }},
        {"stock plus addable overflows",
         [](StockStatusScreen& s) {
             s.stockText = u"2147483647"_s;
             s.addableText = u"1"_s;
         }},
        {"shortage overflows",
         [](StockStatusScreen& s) {
             s.orderText = u"2147483647"_s;
             s.stockText = u"-1"_s;
             s.addableText = u"-1"_s;
         }},
        {"stock cell empty", gridCell(3, u""_s)},
        {"per set cell text", gridCell(5, u"x"_s)},
        {"shipment cell trailing comma", gridCell(6, u"1,"_s)},
        {"shortage cell doubled sign", gridCell(7, u"--1"_s)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StockStatusScreen screen = screenOf();
        c.change(screen);
        EXPECT_THROW(csv(screen), ExportError);
    }
}

TEST(StockStatusCsv, WriteErrorsFailTheExport)
{
    // A device that fails at every offset of the file, the header's and the lines' alike.
    const StockStatusScreen screen = screenOf({GridRow(), GridRow()});
    const QByteArray whole = header + typicalLine + typicalLine;
    const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
    for (qint64 limit = 0; limit < whole.size(); ++limit) {
        SCOPED_TRACE(limit);
        FailingDevice device(limit);
        EXPECT_THROW(writeStockStatus(screen, device, *encoder), ExportError);
        EXPECT_EQ(device.written(), whole.left(limit));
    }
    FailingDevice roomy(whole.size());
    EXPECT_EQ(writeStockStatus(screen, roomy, *encoder), 2);
    EXPECT_EQ(roomy.written(), whole);
}

// The export into a real directory, stamped 12 May 2020 13:45:30.
class StockStatusFile : public ::testing::Test
{
protected:
    const QDateTime stamp{QDate(2020, 5, 12), QTime(13, 45, 30)};
    const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
    QTemporaryDir dir;

    QString directory() const { return dir.path() + QDir::separator(); }
    QString target() const { return dir.filePath(u"S001_セットA_200512134530.csv"_s); }

    StockStatusExport exportTo(StockStatusScreen screen)
    {
        screen.directory = directory();
        return exportStockStatus(screen, stamp, *encoder);
    }

    QStringList entries(const QString& path = {}) const
    {
        return QDir(path.isEmpty() ? dir.path() : path)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void writeFile(const QString& path, const QByteArray& bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(StockStatusFile, IsNamedAfterTheSetAndTheTimeAndHoldsTheLines)
{
    EXPECT_EQ(stockStatusFileName(screenOf(), stamp), u"S001_セットA_200512134530.csv"_s);

    const StockStatusExport written = exportTo(screenOf({GridRow(), GridRow(), GridRow()}));
    EXPECT_EQ(written.path, target());
    EXPECT_EQ(written.lines, 3);
    EXPECT_EQ(written.countMessage, u"3 件のデータを出力しました"_s);
    EXPECT_EQ(contents(target()), header + typicalLine + typicalLine + typicalLine);
    EXPECT_EQ(entries(), QStringList{u"S001_セットA_200512134530.csv"_s});

    // A second export within the same second replaces the first.
    EXPECT_EQ(exportTo(screenOf({})).countMessage, u"0 件のデータを出力しました"_s);
    EXPECT_EQ(contents(target()), header);
    EXPECT_EQ(entries().size(), 1);
}

TEST_F(StockStatusFile, EmptyDirectoryMeansTheCurrentDirectory)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    StockStatusScreen screen = screenOf();
    const StockStatusExport written = exportStockStatus(screen, stamp, *encoder);
    QDir::setCurrent(previous);
    EXPECT_EQ(written.path, u"S001_セットA_200512134530.csv"_s);
    EXPECT_EQ(contents(target()), header + typicalLine);
}

TEST_F(StockStatusFile, FailureLeavesNoFileAndKeepsAnExistingOne)
{
    std::vector<GridRow> rows(3);
    rows[2].shortage = u"short"_s; // fails after the header and two lines
    EXPECT_THROW(exportTo(screenOf(rows)), ExportError);
    EXPECT_TRUE(entries().isEmpty());

    writeFile(target(), "earlier export");
    EXPECT_THROW(exportTo(screenOf(rows)), ExportError);
    StockStatusScreen unreadable = screenOf();
    unreadable.rowText = u"x"_s;
    EXPECT_THROW(exportTo(unreadable), ExportError);
    EXPECT_EQ(contents(target()), "earlier export");
    EXPECT_EQ(entries().size(), 1);
}

TEST_F(StockStatusFile, MissingDirectoryFails)
{
    StockStatusScreen screen = screenOf();
    screen.directory = dir.filePath(u"missing"_s) + QDir::separator();
    EXPECT_THROW(exportStockStatus(screen, stamp, *encoder), ExportError);
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(StockStatusFile, CharactersNoFileNameMayHoldFailBeforeAnyFileIsCreated)
{
    // Were the slash taken as a separator, the file would land in this directory.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"S001_a"_s));
    const QString forbidden[] = {u"\\"_s,           u"/"_s,      u":"_s,     u"*"_s, u"?"_s,
                                 u"\""_s,           u"<"_s,      u">"_s,     u"|"_s, u"\t"_s,
                                 QString(QChar(0)), u"\u001F"_s, u"\u007F"_s};
    for (const QString& c : forbidden) {
        SCOPED_TRACE(c.toUtf8().toHex().toStdString());
        StockStatusScreen screen = screenOf();
        screen.setName = u"a"_s + c + u"b"_s;
        EXPECT_THROW(exportTo(screen), ExportError);
        screen = screenOf();
        screen.setCode = c + u"S001"_s;
        EXPECT_THROW(exportTo(screen), ExportError);
    }
    EXPECT_EQ(entries(), QStringList{u"S001_a"_s});
    EXPECT_TRUE(entries(dir.filePath(u"S001_a"_s)).isEmpty());

    // Look-alikes and other punctuation are ordinary characters.
    StockStatusScreen screen = screenOf();
    screen.setName = u"Ａ／Ｂ＊？.;'&#"_s;
    EXPECT_EQ(exportTo(screen).path, dir.filePath(u"S001_Ａ／Ｂ＊？.;'&#_200512134530.csv"_s));
}

} // namespace
} // namespace setzaiko
