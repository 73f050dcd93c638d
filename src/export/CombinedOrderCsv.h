#pragma once

#include "common/Cp932Encoder.h"
#include "component/CombinedOrder.h"
#include "export/ExportError.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>

namespace setzaiko {

// The file name of a combined order: directory, "まとめ", "_", the time stamp as
// yyMMddhhmmss, ".csv"; the word stands where a single set's code and name stand.
QString combinedOrderFileName(const QString& directory, const QDateTime& stamp);

// Writes the header and one line per component of the plan, in code page 932 with CR LF:
// code, name, stock, unit, need, shipment, shortage. Returns the number of data lines.
// Throws ExportError.
int writeCombinedOrder(const CombinedOrder& plan, QIODevice& device, const Cp932Encoder& encoder);

struct CombinedOrderExport
{
    QString path;
    int lines = 0;
};

// Writes the file whole into the directory (ending in a separator, or empty for the current
// one), or leaves no file at all. Throws ExportError.
CombinedOrderExport exportCombinedOrder(const CombinedOrder& plan, const QString& directory,
                                        const QDateTime& stamp, const Cp932Encoder& encoder);

} // namespace setzaiko
