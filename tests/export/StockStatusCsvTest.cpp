#include "export/StockStatusCsv.h"

#include "export/CombinedOrderCsv.h"
#include "export/ExportTexts.h"
#include "support/FailingDevice.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::FailingDevice;

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

StockStatusLine componentLine()
{
    return {u"P01"_s, u"部品A"_s, 1234, u"個"_s, 2, 40, 0};
}

StockStatus statusOf(const std::vector<StockStatusLine>& lines = {componentLine()})
{
    StockStatus status;
    status.setCode = u"S001"_s;
    status.setName = u"セットA"_s;
    status.order = 50;
    status.stock = 30;
    status.addable = 15;
    status.unit = u"個"_s;
    status.lines = lines;
    return status;
}

// A status whose every text is ASCII, so that its lines can be compared as text.
StockStatus asciiStatus(std::vector<StockStatusLine> lines = {componentLine()})
{
    for (StockStatusLine& line : lines) {
        line.componentName = u"PartA"_s;
        line.unit = u"pc"_s;
    }
    StockStatus status = statusOf(lines);
    status.setName = u"SetA"_s;
    status.unit = u"pc"_s;
    return status;
}

QByteArray csv(const StockStatus& status, int* lines = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const int written = writeStockStatus(status, buffer, *Cp932Encoder::create());
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
    EXPECT_EQ(csv(statusOf(), &lines), header + typicalLine);
    EXPECT_EQ(lines, 1);

    EXPECT_EQ(csv(statusOf({componentLine(), componentLine(), componentLine()}), &lines),
              header + typicalLine + typicalLine + typicalLine);
    EXPECT_EQ(lines, 3);

    EXPECT_EQ(csv(statusOf({}), &lines), header);
    EXPECT_EQ(lines, 0);
}

TEST(StockStatusCsv, SetShortageIsWhatTheOrderNeedsBeyondStockAndAddableSets)
{
    struct Case
    {
        std::int32_t order;
        std::int32_t stock;
        std::int32_t addable;
        QByteArray setFields; // fields 3 to 7
    };
    const Case cases[] = {
        {50, 30, 15, "50,pc,30,15,5"},
        {45, 30, 15, "45,pc,30,15,0"},
        {44, 30, 15, "44,pc,30,15,0"},
        {0, 30, 15, "0,pc,30,15,0"},
        // No order means no shortage, however low the stock.
        {0, -10, 0, "0,pc,-10,0,0"},
        {3000, 1234, 1000, "3000,pc,1234,1000,766"},
        {50, 30, -15, "50,pc,30,-15,35"},
        {1000, 1234567, -3, "1000,pc,1234567,-3,0"},
        // Sums that no rule needs cannot fail the export.
        {0, int32Max, 1, "0,pc,2147483647,1,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setFields.toStdString());
        StockStatus status = asciiStatus();
        status.order = c.order;
        status.stock = c.stock;
        status.addable = c.addable;
        const QByteArrayList lines = linesOf(csv(status));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1], "S001,SetA," + c.setFields + ",P01,PartA,1234,pc,2,40,0,\r");
    }
}

TEST(StockStatusCsv, NumbersAreWrittenPlainAndTextsAsTheyStand)
{
    struct Case
    {
        std::int32_t stock;
        std::int32_t perSet;
        std::int32_t shipment;
        std::int32_t shortage;
        QByteArray fields; // fields 8 to 14
    };
    const Case cases[] = {
        {1234, 2, 40, 0, "P01,PartA,1234,pc,2,40,0"},
        {0, 1, 1200, -1200, "P01,PartA,0,pc,1,1200,-1200"},
        {-7, 1000, 12345678, int32Min, "P01,PartA,-7,pc,1000,12345678,-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields.toStdString());
        StockStatusLine line = componentLine();
        line.stock = c.stock;
        line.perSet = c.perSet;
        line.shipment = c.shipment;
        line.shortage = c.shortage;
        StockStatus status = asciiStatus({line});
        status.setCode = u" S1"_s;
        status.unit = u"pc 　 "_s;
        EXPECT_EQ(linesOf(csv(status)).at(1), " S1,SetA,50,pc,30,15,5," + c.fields + ",\r");
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
        StockStatusLine line = componentLine();
        line.componentCode = c.text;
        StockStatus status = asciiStatus({line});
        status.unit = c.text;
        EXPECT_EQ(csv(status), header + "S001,SetA,50," + c.field + ",30,15,5," + c.field +
                                   ",PartA,1234,pc,2,40,0,\r\n");
    }
    StockStatus status = asciiStatus();
    status.setName = u"Set,A"_s;
    EXPECT_TRUE(linesOf(csv(status)).at(1).startsWith("S001,\"Set,A\",50,"));
}

TEST(StockStatusCsv, BlankNumbersAndOverflowsFailTheExport)
{
    struct Case
    {
        const char* name;
        std::function<void(StockStatus&)> change;
    };
    const Case cases[] = {
        {"no set stock", [](StockStatus& s) { s.stock.reset(); }},
        {"stock plus addable overflows",
         [](StockStatus& s) {
             s.stock = int32Max;
             s.addable = 1;
         }},
        {"shortage overflows",
         [](StockStatus& s) {
             s.order = int32Max;
             s.stock = -1;
             s.addable = -1;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StockStatus status = statusOf({componentLine(), componentLine()});
        c.change(status);
        EXPECT_THROW(csv(status), ExportError);
    }
}

TEST(StockStatusCsv, WriteErrorsFailTheExport)
{
    // A device that fails at every offset of the file, the header's and the lines' alike.
    const StockStatus status = statusOf({componentLine(), componentLine()});
    const QByteArray whole = header + typicalLine + typicalLine;
    const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
    for (qint64 limit = 0; limit < whole.size(); ++limit) {
        SCOPED_TRACE(limit);
        FailingDevice device(limit);
        EXPECT_THROW(writeStockStatus(status, device, *encoder), ExportError);
        EXPECT_EQ(device.written(), whole.left(limit));
    }
    FailingDevice roomy(whole.size());
    EXPECT_EQ(writeStockStatus(status, roomy, *encoder), 2);
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

    StockStatusExport exportTo(StockStatus status)
    {
        status.directory = directory();
        return exportStockStatus(status, stamp, *encoder);
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
    EXPECT_EQ(stockStatusFileName(statusOf(), stamp), u"S001_セットA_200512134530.csv"_s);

    const StockStatusExport written =
        exportTo(statusOf({componentLine(), componentLine(), componentLine()}));
    EXPECT_EQ(written.path, target());
    EXPECT_EQ(written.lines, 3);
    EXPECT_EQ(contents(target()), header + typicalLine + typicalLine + typicalLine);
    EXPECT_EQ(entries(), QStringList{u"S001_セットA_200512134530.csv"_s});

    // A second export within the same second replaces the first.
    EXPECT_EQ(exportTo(statusOf({})).lines, 0);
    EXPECT_EQ(contents(target()), header);
    EXPECT_EQ(entries().size(), 1);
}

TEST_F(StockStatusFile, EmptyDirectoryMeansTheCurrentDirectory)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const StockStatusExport written = exportStockStatus(statusOf(), stamp, *encoder);
    QDir::setCurrent(previous);
    EXPECT_EQ(written.path, u"S001_セットA_200512134530.csv"_s);
    EXPECT_EQ(contents(target()), header + typicalLine);
}

TEST_F(StockStatusFile, FailureLeavesNoFileAndKeepsAnExistingOne)
{
    // The set product's shortage overflows after the header is written.
    StockStatus overflowing = statusOf(std::vector<StockStatusLine>(3, componentLine()));
    overflowing.order = int32Max;
    overflowing.stock = -1;
    overflowing.addable = -1;
    EXPECT_THROW(exportTo(overflowing), ExportError);
    EXPECT_TRUE(entries().isEmpty());

    writeFile(target(), "earlier export");
    EXPECT_THROW(exportTo(overflowing), ExportError);
    StockStatus withoutStock = statusOf();
    withoutStock.stock.reset();
    EXPECT_THROW(exportTo(withoutStock), ExportError);
    EXPECT_EQ(contents(target()), "earlier export");
    EXPECT_EQ(entries().size(), 1);
}

TEST_F(StockStatusFile, MissingDirectoryFails)
{
    StockStatus status = statusOf();
    status.directory = dir.filePath(u"missing"_s) + QDir::separator();
    EXPECT_THROW(exportStockStatus(status, stamp, *encoder), ExportError);
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
        StockStatus status = statusOf();
        status.setName = u"a"_s + c + u"b"_s;
        EXPECT_THROW(exportTo(status), ExportError);
        status = statusOf();
        status.setCode = c + u"S001"_s;
        EXPECT_THROW(exportTo(status), ExportError);
    }
    EXPECT_EQ(entries(), QStringList{u"S001_a"_s});
    EXPECT_TRUE(entries(dir.filePath(u"S001_a"_s)).isEmpty());

    // Look-alikes and other punctuation are ordinary characters.
    StockStatus status = statusOf();
    status.setName = u"Ａ／Ｂ＊？.;'&#"_s;
    EXPECT_EQ(exportTo(status).path, dir.filePath(u"S001_Ａ／Ｂ＊？.;'&#_200512134530.csv"_s));
}

// The combined order's file keeps the conventions and the name pattern, 「まとめ」 standing
// for the set's code and name; a failure leaves no file.
TEST_F(StockStatusFile, CombinedOrderFileKeepsTheConventions)
{
    CombinedOrder plan;
    plan.components = {{u"HAM"_s, u"ハム,特選"_s, u"本"_s, 20, 25, 20, -5},
                       {u"BOX"_s, u"箱"_s, u"枚"_s, -3, 0, 0, 0}};
    const CombinedOrderExport written =
        exportCombinedOrder(plan, dir.path() + QDir::separator(), stamp, *encoder);
    EXPECT_EQ(entries(), QStringList{u"まとめ_200512134530.csv"_s});
    EXPECT_EQ(written.lines, 2);
    EXPECT_EQ(contents(written.path),
              encoder->encode(u"構成商品コード,構成商品名,構成商品在庫数量,構成商品単位,"
                              u"出荷必要在庫数量,出荷在庫数量,出荷不足在庫数量,\r\n"
                              u"HAM,\"ハム,特選\",20,本,25,20,-5,\r\n"
                              u"BOX,箱,-3,枚,0,0,0,\r\n"_s));

    EXPECT_THROW(exportCombinedOrder(plan, dir.filePath(u"missing/"_s), stamp, *encoder),
                 ExportError);
    EXPECT_EQ(entries().size(), 1);
}

} // namespace
} // namespace setzaiko
