#include "export/StockStatusCsv.h"

#include "common/CheckedInt.h"
#include "common/FileSync.h"
#include "common/NumberFormat.h"
#include "common/TextRules.h"
#include "export/ExportTexts.h"

#include <QSaveFile>
#include <QStringList>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

const QStringList headerPieces = {
    u"商品コード"_s,       u"商品名"_s,           u"受注数量"_s,     u"数量単位"_s,
    u"在庫数量"_s,         u"追加可能数量"_s,     u"出荷不足数量"_s, u"構成商品コード"_s,
    u"構成商品名"_s,       u"構成商品在庫数量"_s, u"構成商品単位"_s, u"製品構成数量"_s,
    u"出荷必要在庫数量"_s, u"出荷不足在庫数量"_s,
};

std::int32_t shownNumber(const std::optional<std::int32_t>& number, const char* what)
{
    if (!number) {
        throw ExportError(std::string(what) + " is not shown");
    }
    return *number;
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

QString stockStatusFileName(const StockStatus& status, const QDateTime& stamp)
{
    return status.directory + status.setCode + u'_' + status.setName + u'_' +
           stamp.toString(u"yyMMddHHmmss"_s) + u".csv"_s;
}

int writeStockStatus(const StockStatus& status, QIODevice& device, const Cp932Encoder& encoder)
{
    writeLine(device, encoder, headerPieces);

    const std::int32_t stock = shownNumber(status.stock, "the set stock");
    const QStringList setFields = {
        status.setCode,
        status.setName,
        numberField(status.order),
        rightTrim(status.unit),
        numberField(stock),
        numberField(status.addable),
        numberField(setShortage(status.order, stock, status.addable)),
    };

    int written = 0;
    for (const StockStatusLine& line : status.lines) {
        QStringList fields = setFields;
        fields << line.componentCode << line.componentName
               << numberField(shownNumber(line.stock, "a stock cell")) << line.unit
               << numberField(shownNumber(line.perSet, "a quantity cell"))
               << numberField(shownNumber(line.shipment, "a shipment cell"))
               << numberField(shownNumber(line.shortage, "a shortage cell"));
        writeLine(device, encoder, fields);
        ++written;
    }
    return written;
}

StockStatusExport exportStockStatus(const StockStatus& status, const QDateTime& stamp,
                                    const Cp932Encoder& encoder)
{
    // The code and the name become part of the file name: a character no file name may hold
    // would make it fail on one platform or point it outside the directory on another.
    for (const QString& part : {status.setCode, status.setName}) {
        if (std::any_of(part.begin(), part.end(), isForbiddenInFileName)) {
            throw ExportError("the code or the name holds a character a file name cannot hold");
        }
    }
    StockStatusExport result;
    result.path = stockStatusFileName(status, stamp);
    // Unbuffered, so that every line reaches the file system in its own checked write: a
    // buffer flushed only when the file is committed could fail unnoticed.
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw ExportError("cannot create the file: " + file.errorString().toStdString());
    }
    try {
        result.lines = writeStockStatus(status, file, encoder);
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
