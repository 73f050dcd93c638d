#pragma once

#include "common/Cp932Encoder.h"
#include "component/ComponentRow.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>
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

// Why an export failed: a small closed set, each with one Japanese sentence.
enum class ExportFailure {
    ForbiddenName, // the code or the name holds a character no file name may hold
    NoFolder,      // the output folder does not exist
    CannotCreate,  // the file cannot be created in the folder
    CannotWrite,   // writing, syncing or naming the file failed
    NotShown,      // the set product's stock is not known: no set product was chosen
    Overflow,      // the set product's shortage does not fit in 32 bits
};

// The sentence of one kind, ending in "。".
QString exportFailureSentence(ExportFailure kind);

// Any failure of the export. detail() tells what the sentence of its kind does not: for a
// file, the folder and the system's reason, each on a line of its own.
class ExportError : public std::runtime_error
{
public:
    ExportError(ExportFailure kind, const QString& detail)
        : std::runtime_error(detail.toStdString()), m_kind(kind), m_detail(detail)
    {}

    ExportFailure kind() const { return m_kind; }
    const QString& detail() const { return m_detail; }
    // The kind's sentence, then the detail on lines of its own: what the failure box shows
    // behind its details button.
    QString cause() const;

private:
    ExportFailure m_kind;
    QString m_detail;
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
