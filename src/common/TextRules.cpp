#include "common/TextRules.h"

namespace setzaiko {

bool isTrimmedSpace(QChar c)
{
    return c == u' ' || c == u'\u3000';
}

QStringView rightTrimmedView(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isTrimmedSpace(text.at(end - 1))) {
        --end;
    }
    return text.left(end);
}

QString rightTrim(const QString& text)
{
    const qsizetype end = rightTrimmedView(text).size();
    // Most cells have nothing to trim: hand back the shared string instead of a copy.
    if (end == text.size()) {
        return text;
    }
    return text.left(end);
}

QString rightTrim(QString&& text)
{
    const qsizetype end = rightTrimmedView(text).size();
    if (end != text.size()) {
        text.truncate(end);
    }
    return std::move(text);
}

QString trim(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && isTrimmedSpace(text.at(end - 1))) {
        --end;
    }
    qsizetype begin = 0;
    while (begin < end && isTrimmedSpace(text.at(begin))) {
        ++begin;
    }
    if (begin == 0 && end == text.size()) {
        return text;
    }
    return text.mid(begin, end - begin);
}

} // namespace setzaiko
