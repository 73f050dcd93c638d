#include "export/StockStatusCsv.h"

#include "common/CheckedInt.h"
#include "common/FileSync.h"
#include "common/NumberFormat.h"
#include "common/TextRules.h"
#include "export/ExportTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

const QStringList headerPieces = {
    u"商品コード"_s,       u"商品名"_s,           u"受注数量"_s,     u"数量単位"_s,
    u"在庫数量"_s,         u"追加可能数量"_s,     u"出荷不足数量"_s, u"構成商品コード"_s,
    u"構成商品名"_s,       u"構成商品在庫数量"_s, u"構成商品単位"_s, u"製品構成数量"_s,
    u"出荷必要在庫数量"_s, u"出荷不足在庫数量"_s,
};

std::int32_t knownStock(const std::optional<std::int32_t>& stock)
{
    if (!stock) {
        throw ExportError(ExportFailure::NotShown, u"the set stock is not shown"_s);
    }
    return *stock;
}

QString reasonLine(const QString& reason)
{
    return exporttexts::reasonLabel.toString() + reason;
}

// The folder the file was to go into, absolute, with its trailing separator: an empty
// directory text means the current directory, which the user never sees named.
QString folderLine(const QString& path)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    return exporttexts::folderLabel.toString() +
           (folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator());
}

// A failure of the file itself: where, and what the system said.
[[noreturn]] void fileFailure(ExportFailure kind, const QString& path, const QString& reason)
{
    throw ExportError(kind, folderLine(path) + u'\n' + reasonLine(reason));
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
        throw ExportError(ExportFailure::CannotWrite, reasonLine(device.errorString()));
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
        throw ExportError(ExportFailure::Overflow, u"stock plus additional quantity overflows"_s);
    }
    if (order < *available) {
        return 0;
    }
    const auto shortage = checked::subtract(order, *available);
    if (!shortage) {
        throw ExportError(ExportFailure::Overflow, u"the shortage overflows"_s);
    }
    return *shortage;
}

bool isForbiddenInFileName(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"\\/:*?\"<>|").contains(c);
}

} // namespace

StockStatusLine stockStatusLine(const ComponentRow& row)
{
    return {row.productCode,    row.productName,     row.stockQuantity, row.unit,
            row.quantityPerSet, row.plannedShipment, row.shortage};
}

QString exportFailureSentence(ExportFailure kind)
{
    switch (kind) {
    case ExportFailure::ForbiddenName:
        return exporttexts::forbiddenName.toString();
    case ExportFailure::NoFolder:
        return exporttexts::noFolder.toString();
    case ExportFailure::CannotCreate:
        return exporttexts::cannotCreate.toString();
    case ExportFailure::CannotWrite:
        return exporttexts::cannotWrite.toString();
    case ExportFailure::NotShown:
        return exporttexts::notShown.toString();
    case ExportFailure::Overflow:
        break;
    }
    return exporttexts::overflow.toString();
}

QString ExportError::cause() const
{
    const QString sentence = exportFailureSentence(m_kind);
    return m_detail.isEmpty() ? sentence : sentence + u'\n' + m_detail;
}

QString stockStatusFileName(const StockStatus& status, const QDateTime& stamp)
{
    return status.directory + status.setCode + u'_' + status.setName + u'_' +
           stamp.toString(u"yyMMddHHmmss"_s) + u".csv"_s;
}

int writeStockStatus(const StockStatus& status, QIODevice& device, const Cp932Encoder& encoder)
{
    writeLine(device, encoder, headerPieces);

    const std::int32_t stock = knownStock(status.stock);
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
        fields << line.componentCode << line.componentName << numberField(line.stock) << line.unit
               << numberField(line.perSet) << numberField(line.shipment)
               << numberField(line.shortage);
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
    const std::pair<QStringView, const QString&> parts[] = {
        {exporttexts::codeLabel, status.setCode}, {exporttexts::nameLabel, status.setName}};
    for (const auto& [label, part] : parts) {
        if (std::any_of(part.begin(), part.end(), isForbiddenInFileName)) {
            throw ExportError(ExportFailure::ForbiddenName, label.toString() + part);
        }
    }
    StockStatusExport result;
    result.path = stockStatusFileName(status, stamp);
    // Unbuffered, so that every line reaches the file system in its own checked write: a
    // buffer flushed only when the file is committed could fail unnoticed.
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const bool folderExists = QFileInfo(QFileInfo(result.path).absolutePath()).isDir();
        fileFailure(folderExists ? ExportFailure::CannotCreate : ExportFailure::NoFolder,
                    result.path, file.errorString());
    }
    try {
        try {
            result.lines = writeStockStatus(status, file, encoder);
        } catch (const ExportError& failure) {
            // A line the file refused knows the reason only: the folder goes before it.
            if (failure.kind() != ExportFailure::CannotWrite) {
                throw;
            }
            throw ExportError(failure.kind(), folderLine(result.path) + u'\n' + failure.detail());
        }
        if (!file.flush()) {
            fileFailure(ExportFailure::CannotWrite, result.path, file.errorString());
        }
        // The bytes are on disk before the file takes its name; commit() ignores a failed sync.
        QString error;
        if (!syncToDisk(file, &error)) {
            fileFailure(ExportFailure::CannotWrite, result.path, error);
        }
    } catch (...) {
        file.cancelWriting(); // the temporary file is removed, no file takes the name
        throw;
    }
    if (!file.commit()) {
        fileFailure(ExportFailure::CannotWrite, result.path, file.errorString());
    }
    return result;
}

} // namespace setzaiko
