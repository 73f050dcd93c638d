#include "export/CombinedOrderCsv.h"

#include "export/CsvFile.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

const QStringList headerPieces = {
    u"構成商品コード"_s,   u"構成商品名"_s,   u"構成商品在庫数量"_s, u"構成商品単位"_s,
    u"出荷必要在庫数量"_s, u"出荷在庫数量"_s, u"出荷不足在庫数量"_s,
};

} // namespace

QString combinedOrderFileName(const QString& directory, const QDateTime& stamp)
{
    return directory + u"まとめ_"_s + stamp.toString(u"yyMMddHHmmss"_s) + u".csv"_s;
}

int writeCombinedOrder(const CombinedOrder& plan, QIODevice& device, const Cp932Encoder& encoder)
{
    writeCsvLine(device, encoder, headerPieces);
    int written = 0;
    for (const CombinedComponent& component : plan.components) {
        writeCsvLine(device, encoder,
                     {component.code, component.name, csvNumber(component.stock), component.unit,
                      csvNumber(component.need), csvNumber(component.shipment),
                      csvNumber(component.shortage)});
        ++written;
    }
    return written;
}

CombinedOrderExport exportCombinedOrder(const CombinedOrder& plan, const QString& directory,
                                        const QDateTime& stamp, const Cp932Encoder& encoder)
{
    CombinedOrderExport result;
    result.path = combinedOrderFileName(directory, stamp);
    result.lines = saveCsvFile(
        result.path, [&](QIODevice& file) { return writeCombinedOrder(plan, file, encoder); });
    return result;
}

} // namespace setzaiko
