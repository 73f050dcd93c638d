#include "ui/PathText.h"

#include <QDir>

namespace setzaiko {

QString directoryWithSeparator(const QString& path)
{
    QString text = QDir::toNativeSeparators(path);
    const QChar separator = QDir::separator();
    while (text.endsWith(separator)) {
        text.chop(1);
    }
    return text + separator;
}

} // namespace setzaiko
