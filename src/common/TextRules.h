#pragma once

#include <QString>
#include <QStringView>

namespace setzaiko {

// The spaces every trim of the system removes: U+0020 and the ideographic space U+3000.
bool isTrimmedSpace(QChar c);

// Removes trailing spaces. Returns the same shared string when there is nothing to remove.
QString rightTrim(const QString& text);
// The same for a string that is not needed any more: nothing is copied or counted.
QString rightTrim(QString&& text);
// The text without its trailing spaces, as a view into it.
QStringView rightTrimmedView(QStringView text);

// Removes leading and trailing spaces.
QString trim(const QString& text);

} // namespace setzaiko
