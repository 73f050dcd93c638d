#include "export/StockStatusCsv.h"

#include "common/CheckedInt.h"
#include "common/FileSync.h"
#include "common/NumberFormat.h"
#include "common/NumberText.h"
#include "common/TextRules.h"
#include "export/ExportTexts.h"

#include <QSaveFile>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

const QStringList headerPieces = {
    u"商品コード"_s,       u"商品名"_s,           u"受注数量"_s,     u"数量単位"_s,
    u"在庫数量"_s,         u"追加可能数量"_s,     u"出荷不足数量"_s, u"構成商品コード"_s,
    u"構成商品名"_s,       u"構成商品在庫数量"_s, u"構成商品単位"_s, u"製品構成数量"_s,
    u"出荷必要在庫数量"_s, u"出荷不足在庫数量"_s,
};

std::int32_t readInteger(const QString& text, const char* what)
{
    const Int32Result number = textToInt32(text);
    if (number.status != Int32Conversion::Ok) {
        throw ExportError(std::string(what) + " is not a 32-bit number");
    }
    return number.value;
}

QString numberField(std::int32_t value)
{
    return formatNumber(value, formats::digits9);
}

// A field holding a comma, a quote or a line break is quoted, so that it stays one field;
// every other field is written as it stands.
QString field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n')) {
        return text;
    }
    QString quoted = text;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

void writeLine(QIODevice& device, const Cp932Encoder& encoder, const QStringList& fields)
{
    QString line;
    for (const QString& f : fields) {
        line += field(f);
        line += u',';
    }
    line += u"\r\n"_s;
    const QByteArray bytes = encoder.encode(line);
    if (device.write(bytes) != bytes.size()) {
        throw ExportError("cannot write the file: " + device.errorString().toStdString());
    }
}

// The shortage of the set product itself: what the order needs beyond its stock and the
// sets the components still allow.
std::int32_t setShortage(std::int32_t order, std::int32_t stock, std::int32_t addable)
{
    // Without an order there is nothing to fall short of, and no sum to overflow.
    if (order == 0) {
        return 0;
    }
    const auto available = checked::add(stock, addable);
    if (!available) {
        throw ExportError("stock plus additional quantity overflows");
    }
    if (order < *available) {
        return 0;
    }
    const auto shortage = checked::subtract(order, *available);
    if (!shortage) {
        throw ExportError("the shortage overflows");
    }
    return *shortage;
}

bool isForbiddenInFileName(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"\\/:*?\"<>|").contains(c);
}

} // namespace

QString stockStatusFileName(const StockStatusScreen& screen, const QDateTime& stamp)
{
    return screen.directory + screen.setCode + u'_' + screen.setName + u'_' +
           stamp.toString(u"yyMMddHHmmss"_s) + u".csv"_s;
}

int writeStockStatus(const StockStatusScreen& screen, QIODevice& device,
                     const Cp932Encoder& encoder)
{
    const std::int32_t rows = readInteger(rightTrim(screen.rowText), "the row count");
    if (rows < 0 || rows > std::numeric_limits<std::int16_t>::max()) {
        throw ExportError("the row count is out of range");
    }
    writeLine(device, encoder, headerPieces);

    const QString orderText = rightTrim(screen.orderText);
    const std::int32_t order = orderText.isEmpty() ? 0 : readInteger(orderText, "the order");
    const std::int32_t stock = readInteger(screen.stockText, "the set stock");
    const std::int32_t addable = readInteger(screen.addableText, "the additional quantity");
    const QStringList setFields = {
        screen.setCode,
        screen.setName,
        numberField(order),
        rightTrim(screen.unitText),
        numberField(stock),
        numberField(addable),
        numberField(setShortage(order, stock, addable)),
    };

    int written = 0;
    for (int r = 1; r <= rows; ++r) {
        const auto cell = [&](int column) {
            const std::optional<QString> text = screen.cell(r, column);
            if (!text) {
                throw ExportError("the grid has no such row");
            }
            return *text;
        };
        QStringList fields = setFields;
        fields << cell(2) << cell(1) << numberField(readInteger(cell(3), "a stock cell")) << cell(4)
               << numberField(readInteger(cell(5), "a quantity cell"))
               << numberField(readInteger(cell(6), "a shipment cell"))
               << numberField(readInteger(cell(7), "a shortage cell"));
        writeLine(device, encoder, fields);
        ++written;
    }
    return written;
}

StockStatusExport exportStockStatus(const StockStatusScreen& screen, const QDateTime& stamp,
                                    const Cp932Encoder& encoder)
{
    // The code and the name become part of the file name: a character no file name may hold
    // would make it fail on one platform or point it outside the directory on another.
    for (const QString& part : {screen.setCode, screen.setName}) {
        if (std::any_of(part.begin(), part.end(), isForbiddenInFileName)) {
            throw ExportError("the code or the name holds a character a file name cannot hold");
        }
    }
    StockStatusExport result;
    result.path = stockStatusFileName(screen, stamp);
    // Unbuffered, so that every line reaches the file system in its own checked write: a
    // buffer flushed only when the file is committed could fail unnoticed.
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw ExportError("cannot create the file: " + file.errorString().toStdString());
    }
    try {
        result.lines = writeStockStatus(screen, file, encoder);
        if (!file.flush()) {
            throw ExportError("cannot write the file: " + file.errorString().toStdString());
        }
        // The bytes are on disk before the file takes its name; commit() ignores a failed sync.
        QString error;
        if (!syncToDisk(file, &error)) {
            throw ExportError("cannot write the file to disk: " + error.toStdString());
        }
    } catch (...) {
        file.cancelWriting(); // the temporary file is removed, no file takes the name
        throw;
    }
    if (!file.commit()) {
        throw ExportError("cannot complete the file: " + file.errorString().toStdString());
    }
    result.countMessage = QString::number(result.lines) + exporttexts::countAfter.toString();
    return result;
}

} // namespace setzaiko
