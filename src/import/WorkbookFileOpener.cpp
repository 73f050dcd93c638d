#include "import/WorkbookFileOpener.h"

#include "import/xls/XlsWorkbook.h"
#include "import/xlsx/XlsxWorkbook.h"

#include <QFile>
#include <QFileInfo>

namespace setzaiko {

namespace {

// A compound file's signature, and the local header and end record a zip archive starts with
// (an archive without entries is all end record).
constexpr char compoundFileSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr char zipLocalHeader[] = "PK\x03\x04";
constexpr char zipEndRecord[] = "PK\x05\x06";

} // namespace

std::unique_ptr<Workbook> WorkbookFileOpener::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        throw WorkbookError(WorkbookFailure::NoSuchFile, path.toStdString());
    }
    if (!info.isFile()) {
        throw WorkbookError(WorkbookFailure::NotAFile, path.toStdString());
    }
    QByteArray start;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            throw WorkbookError(WorkbookFailure::Unreadable,
                                path.toStdString() + ": " + file.errorString().toStdString());
        }
        start = file.read(8);
        // A file that opens but cannot be read is no file of another kind.
        if (file.error() != QFileDevice::NoError) {
            throw WorkbookError(WorkbookFailure::Unreadable,
                                path.toStdString() + ": " + file.errorString().toStdString());
        }
    }
    if (start.startsWith(compoundFileSignature)) {
        return xls::XlsWorkbook::openFile(path);
    }
    if (start.startsWith(zipLocalHeader) || start.startsWith(zipEndRecord)) {
        return xlsx::XlsxWorkbook::openFile(path);
    }
    throw WorkbookError(WorkbookFailure::NotAWorkbook, path.toStdString());
}

} // namespace setzaiko
