#pragma once

#include <QString>

namespace setzaiko {

// The spaces every trim of the system removes: U+0020 and the ideographic space U+3000.
bool isTrimmedSpace(QChar c);

// Removes trailing spaces. Returns the same shared string when there is nothing to remove.
QString rightTrim(const QString& text);

// Removes leading and trailing spaces.
QString trim(const QString& text);

} // namespace setzaiko
