#include "export/CsvFile.h"

#include "common/FileSync.h"
#include "common/NumberFormat.h"
#include "export/ExportError.h"
#include "export/ExportTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

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

} // namespace

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

QString csvNumber(std::int32_t value)
{
    return formatNumber(value, formats::digits9);
}

bool isForbiddenInFileName(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"\\/:*?\"<>|").contains(c);
}

void writeCsvLine(QIODevice& device, const Cp932Encoder& encoder, const QStringList& fields)
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

int saveCsvFile(const QString& path, const std::function<int(QIODevice&)>& write)
{
    // Unbuffered, so that every line reaches the file system in its own checked write: a
    // buffer flushed only when the file is committed could fail unnoticed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const bool folderExists = QFileInfo(QFileInfo(path).absolutePath()).isDir();
        fileFailure(folderExists ? ExportFailure::CannotCreate : ExportFailure::NoFolder, path,
                    file.errorString());
    }
    int lines = 0;
    try {
        try {
            lines = write(file);
        } catch (const ExportError& failure) {
            // A line the file refused knows the reason only: the folder goes before it.
            if (failure.kind() != ExportFailure::CannotWrite) {
                throw;
            }
            throw ExportError(failure.kind(), folderLine(path) + u'\n' + failure.detail());
        }
        if (!file.flush()) {
            fileFailure(ExportFailure::CannotWrite, path, file.errorString());
        }
        // The bytes are on disk before the file takes its name; commit() ignores a failed sync.
        QString error;
        if (!syncToDisk(file, &error)) {
            fileFailure(ExportFailure::CannotWrite, path, error);
        }
    } catch (...) {
        file.cancelWriting(); // the temporary file is removed, no file takes the name
        throw;
    }
    if (!file.commit()) {
        fileFailure(ExportFailure::CannotWrite, path, file.errorString());
    }
    return lines;
}

} // namespace setzaiko
