#pragma once

#include "common/Cp932Encoder.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>

namespace setzaiko {

// Everything the export reads from the component window, as the window shows it.
struct StockStatusScreen
{
    QString directory;   // LblDir: ends in a separator, or empty for the current directory
    QString setCode;     // LblScode
    QString setName;     // LblSname
    QString orderText;   // LblJsuryo: the accepted order, or empty
    QString stockText;   // LblZaikosu
    QString addableText; // LblKnousu
    QString unitText;    // LblTani
    QString rowText;     // LblRow: the rows of the last listing
    // The text of grid row (1-based) and column; nullopt for a row the grid does not have.
    std::function<std::optional<QString>(int row, int column)> cell;
};

// Any failure of the export: a text that is not a number, an overflow, a name that cannot be
// a file name, a file that cannot be created or written.
class ExportError : public std::runtime_error
{
public:
    explicit ExportError(const std::string& what) : std::runtime_error(what) {}
};

// The file name: directory, code, "_", name, "_", the time stamp as yyMMddhhmmss, ".csv".
QString stockStatusFileName(const StockStatusScreen& screen, const QDateTime& stamp);

// Writes the header and one line per listed row to the device, in code page 932 with CR LF.
// Returns the number of data lines. Throws ExportError.
int writeStockStatus(const StockStatusScreen& screen, QIODevice& device,
                     const Cp932Encoder& encoder);

struct StockStatusExport
{
    QString path;
    int lines = 0;
    QString countMessage; // "N 件のデータを出力しました"
};

// Creates the file and writes it whole, or leaves no file at all: the lines go to a
// temporary file beside the target, renamed into place once complete, so that a failure
// never leaves a partial file or damages an existing file of that name. Throws ExportError.
StockStatusExport exportStockStatus(const StockStatusScreen& screen, const QDateTime& stamp,
                                    const Cp932Encoder& encoder);

} // namespace setzaiko
