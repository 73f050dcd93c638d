#include "common/NumberText.h"

#include "common/CheckedInt.h"
#include "common/TextRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace setzaiko {

namespace {

// Full-width forms count as their half-width ones. Folding the whole full-width ASCII block is
// safe: the grammar accepts only digits, signs, "," "." "e" and "E" after folding anyway.
char16_t foldWidth(char16_t c)
{
    if (c >= u'\uFF01' && c <= u'\uFF5E') {
        return static_cast<char16_t>(c - 0xFEE0);
    }
    return c;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<DecimalNumber> parseNumber(const QString& text)
{
    const auto* const chars = reinterpret_cast<const char16_t*>(text.constData());
    qsizetype end = text.size();
    while (end > 0 && isTrimmedSpace(QChar(chars[end - 1]))) {
        --end;
    }
    qsizetype pos = 0;
    while (pos < end && isTrimmedSpace(QChar(chars[pos]))) {
        ++pos;
    }
    auto peek = [&]() -> char16_t { return pos < end ? foldWidth(chars[pos]) : u'\0'; };

    DecimalNumber number;
    const char16_t sign = peek();
    if (sign == u'+' || sign == u'-') {
        number.negative = sign == u'-';
        ++pos;
    }

    // Every mantissa digit, integer and fraction part alike; pointPos counts the integer digits.
    QByteArray mantissa;
    mantissa.reserve(end - pos);
    while (isDigit(peek())) {
        mantissa.append(static_cast<char>(peek()));
        ++pos;
        // A comma must stand between two digits: never first, last, or doubled.
        if (peek() == u',' && pos + 1 < end && isDigit(foldWidth(chars[pos + 1]))) {
            ++pos;
        }
    }
    const qsizetype integerDigits = mantissa.size();
    if (peek() == u'.') {
        ++pos;
        while (isDigit(peek())) {
            mantissa.append(static_cast<char>(peek()));
            ++pos;
        }
    }
    if (mantissa.isEmpty()) {
        return std::nullopt;
    }

    // The exponent's magnitude saturates: past the limit the value is far beyond any range the
    // system converts to, and an exact huge exponent text must not overflow.
    std::int64_t exponent = 0;
    const char16_t e = peek();
    if (e == u'e' || e == u'E') {
        ++pos;
        bool negativeExponent = false;
        const char16_t exponentSign = peek();
        if (exponentSign == u'+' || exponentSign == u'-') {
            negativeExponent = exponentSign == u'-';
            ++pos;
        }
        if (!isDigit(peek())) {
            return std::nullopt;
        }
        while (isDigit(peek())) {
            if (exponent < DecimalNumber::exponentLimit) {
                exponent = exponent * 10 + (peek() - u'0');
            }
            ++pos;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (pos != end) {
        return std::nullopt;
    }

    qsizetype first = 0;
    while (first < mantissa.size() && mantissa.at(first) == '0') {
        ++first;
    }
    qsizetype last = mantissa.size();
    while (last > first && mantissa.at(last - 1) == '0') {
        --last;
    }
    if (first == last) {
        return DecimalNumber{};
    }
    number.digits = mantissa.sliced(first, last - first);
    number.exponent =
        std::clamp<std::int64_t>(exponent + (integerDigits - first), -DecimalNumber::exponentLimit,
                                 DecimalNumber::exponentLimit);
    return number;
}

std::optional<std::int32_t> roundToInt32(const DecimalNumber& number)
{
    const QByteArray& digits = number.digits;
    if (digits.isEmpty()) {
        return 0;
    }
    // Ten integer digits already exceed the 32-bit range, whatever the rounding.
    if (number.exponent > 10) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    bool roundUp = false;
    if (number.exponent >= 0) {
        const auto integerDigits = static_cast<qsizetype>(number.exponent);
        for (qsizetype i = 0; i < integerDigits; ++i) {
            magnitude = magnitude * 10 + (i < digits.size() ? digits.at(i) - '0' : 0);
        }
        if (integerDigits < digits.size()) {
            const char firstFraction = digits.at(integerDigits);
            // Digits carry no trailing zeros, so any digit after a 5 makes it more than half.
            const bool moreAfterFive = integerDigits + 1 < digits.size();
            roundUp = firstFraction > '5' ||
                      (firstFraction == '5' && (moreAfterFive || magnitude % 2 != 0));
        }
    }
    // A negative exponent leaves a value below 0.1: it rounds to zero.
    if (roundUp) {
        ++magnitude;
    }
    return checked::narrow(number.negative ? -magnitude : magnitude);
}

Int32Result textToInt32(const QString& text)
{
    const std::optional<DecimalNumber> number = parseNumber(text);
    if (!number) {
        return {Int32Conversion::NotNumeric, 0};
    }
    const std::optional<std::int32_t> value = roundToInt32(*number);
    if (!value) {
        return {Int32Conversion::OutOfRange, 0};
    }
    return {Int32Conversion::Ok, *value};
}

QString numberToText(double value)
{
    if (!std::isfinite(value)) {
        return QStringLiteral("#NUM!");
    }
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    // std::to_chars, unlike printf, ignores the C locale a Qt application switches to.
    char buffer[64];
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
        return QString::fromLatin1(buffer, result.ptr - buffer);
    }

    // "d.dddddddddddddde[+-]x": fifteen significant digits, correctly rounded.
    char scientific[32];
    const auto converted = std::to_chars(scientific, scientific + sizeof scientific,
                                         std::fabs(value), std::chars_format::scientific, 14);
    const char* const exponentMark = std::find(scientific, converted.ptr, 'e');
    int exponent = 0;
    const char* exponentText = exponentMark + 1;
    if (*exponentText == '+') {
        ++exponentText;
    }
    std::from_chars(exponentText, converted.ptr, exponent);

    char digits[16];
    int digitCount = 0;
    for (const char* p = scientific; p != exponentMark; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits[digitCount++] = *p;
        }
    }
    while (digitCount > 1 && digits[digitCount - 1] == '0') {
        --digitCount;
    }

    char* out = buffer;
    if (value < 0) {
        *out++ = '-';
    }
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            *out++ = '0';
            *out++ = '.';
            out = std::fill_n(out, -exponent - 1, '0');
            out = std::copy_n(digits, digitCount, out);
        } else {
            for (int i = 0; i <= exponent; ++i) {
                *out++ = i < digitCount ? digits[i] : '0';
            }
            if (digitCount > exponent + 1) {
                *out++ = '.';
                out = std::copy(digits + exponent + 1, digits + digitCount, out);
            }
        }
    } else {
        *out++ = digits[0];
        if (digitCount > 1) {
            *out++ = '.';
            out = std::copy_n(digits + 1, digitCount - 1, out);
        }
        *out++ = 'E';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) {
            *out++ = '0';
        }
        out = std::to_chars(out, buffer + sizeof buffer, magnitude).ptr;
    }
    return QString::fromLatin1(buffer, out - buffer);
}

} // namespace setzaiko
