#include "common/NumberFormat.h"

#include <algorithm>
#include <cstdint>

namespace setzaiko {

QString formatNumber(std::int64_t value, QStringView pattern)
{
    qsizetype minimumDigits = 0;
    bool grouped = false;
    for (const QChar c : pattern) {
        if (c == u'0') {
            ++minimumDigits;
        } else if (c == u',') {
            grouped = true;
        }
    }

    // Unsigned negation keeps INT64_MIN representable.
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if (value < 0) {
        magnitude = 0 - magnitude;
    }
    qsizetype digitCount = 1;
    for (std::uint64_t rest = magnitude / 10; rest != 0; rest /= 10) {
        ++digitCount;
    }
    digitCount = std::max(digitCount, minimumDigits);
    const qsizetype separators = grouped ? (digitCount - 1) / 3 : 0;

    QString text(digitCount + separators + (value < 0 ? 1 : 0), Qt::Uninitialized);
    QChar* out = text.data() + text.size();
    for (qsizetype written = 0; written < digitCount; ++written) {
        if (grouped && written > 0 && written % 3 == 0) {
            *--out = u',';
        }
        *--out = QChar(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    }
    if (value < 0) {
        *--out = u'-';
    }
    return text;
}

} // namespace setzaiko
