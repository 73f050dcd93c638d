#pragma once

#include "common/Cp932Encoder.h"
#include "component/ComponentRow.h"
#include "export/ExportError.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace setzaiko {

// One listed component: its stock, quantity per set, and the shipment and shortage of the
// order the status is for.
struct StockStatusLine
{
    QString componentCode;
    QString componentName;
    std::int32_t stock = 0;
    QString unit;
    std::int32_t perSet = 0;
    std::int32_t shipment = 0;
    std::int32_t shortage = 0;
};

// The line of one component row.
StockStatusLine stockStatusLine(const ComponentRow& row);

// Everything the export writes: the chosen set product, the order whose shipments the
// components carry and the listed components.
struct StockStatus
{
    QString directory; // ends in a separator, or empty for the current directory
    QString setCode;
    QString setName;
    std::int32_t order = 0; // the order whose figures the lines carry, 0 for none
    QString unit;
    std::optional<std::int32_t> stock; // nullopt without a chosen set product
    std::int32_t addable = 0;
    std::vector<StockStatusLine> lines;
};

// The file name: directory, code, "_", name, "_", the time stamp as yyMMddhhmmss, ".csv".
QString stockStatusFileName(const StockStatus& status, const QDateTime& stamp);

// Writes the header and one line per listed row to the device, in code page 932 with CR LF.
// Returns the number of data lines. Throws ExportError.
int writeStockStatus(const StockStatus& status, QIODevice& device, const Cp932Encoder& encoder);

struct StockStatusExport
{
    QString path;
    int lines = 0;
};

// Creates the file and writes it whole, or leaves no file at all: the lines go to a
// temporary file beside the target, renamed into place once complete, so that a failure
// never leaves a partial file or damages an existing file of that name. Throws ExportError.
StockStatusExport exportStockStatus(const StockStatus& status, const QDateTime& stamp,
                                    const Cp932Encoder& encoder);

} // namespace setzaiko
