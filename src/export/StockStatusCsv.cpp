#include "export/StockStatusCsv.h"

#include "common/CheckedInt.h"
#include "common/NumberFormat.h"
#include "common/TextRules.h"
#include "export/CsvFile.h"
#include "export/ExportTexts.h"

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

} // namespace

StockStatusLine stockStatusLine(const ComponentRow& row)
{
    return {row.productCode,    row.productName,     row.stockQuantity, row.unit,
            row.quantityPerSet, row.plannedShipment, row.shortage};
}

QString stockStatusFileName(const StockStatus& status, const QDateTime& stamp)
{
    return status.directory + status.setCode + u'_' + status.setName + u'_' +
           stamp.toString(u"yyMMddHHmmss"_s) + u".csv"_s;
}

int writeStockStatus(const StockStatus& status, QIODevice& device, const Cp932Encoder& encoder)
{
    writeCsvLine(device, encoder, headerPieces);

    const std::int32_t stock = knownStock(status.stock);
    const QStringList setFields = {
        status.setCode,
        status.setName,
        csvNumber(status.order),
        rightTrim(status.unit),
        csvNumber(stock),
        csvNumber(status.addable),
        csvNumber(setShortage(status.order, stock, status.addable)),
    };

    int written = 0;
    for (const StockStatusLine& line : status.lines) {
        QStringList fields = setFields;
        fields << line.componentCode << line.componentName << csvNumber(line.stock) << line.unit
               << csvNumber(line.perSet) << csvNumber(line.shipment) << csvNumber(line.shortage);
        writeCsvLine(device, encoder, fields);
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
    result.lines = saveCsvFile(
        result.path, [&](QIODevice& file) { return writeStockStatus(status, file, encoder); });
    return result;
}

} // namespace setzaiko
