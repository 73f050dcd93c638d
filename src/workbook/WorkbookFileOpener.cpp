#include "workbook/WorkbookFileOpener.h"

#include "workbook/WorkbookFormats.h"

#include <QFile>
#include <QFileInfo>

namespace setzaiko {

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
        start = file.read(signatureLength);
        // A file that opens but cannot be read is no file of another kind.
        if (file.error() != QFileDevice::NoError) {
            throw WorkbookError(WorkbookFailure::Unreadable,
                                path.toStdString() + ": " + file.errorString().toStdString());
        }
    }
    if (const WorkbookFormat* format = recogniseFormat(start)) {
        return format->open(path);
    }
    throw WorkbookError(WorkbookFailure::NotAWorkbook, path.toStdString());
}

} // namespace setzaiko
