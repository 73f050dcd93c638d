#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace setzaiko {

// A number as written in a text: sign, significant decimal digits and a power of ten,
// so that conversions work on the exact value the text denotes, never on a rounded double.
struct DecimalNumber
{
    bool negative = false;
    QByteArray digits;         // significant digits '0'..'9' without leading or trailing zeros;
                               // empty for zero
    std::int64_t exponent = 0; // value = 0.digits x 10^exponent

    // Exponents are clamped to +-exponentLimit: a value that far out lies beyond any range the
    // system converts to (or rounds to zero), and a huge exponent text must not overflow.
    static constexpr std::int64_t exponentLimit = 1'000'000'000'000'000;
};

// The one number test of the system. The text is trimmed first (spaces only, a TAB is not
// trimmed). Accepted: an optional sign; digits, where "," may stand between two digits of the
// integer part; an optional fraction ("5." and ".5", not "." alone); an optional exponent.
// Full-width digits, signs, comma, full stop and "e" count as their half-width forms.
std::optional<DecimalNumber> parseNumber(const QString& text);

inline bool isNumeric(const QString& text)
{
    return parseNumber(text).has_value();
}

// The nearest 32-bit integer, an exact half going to the even neighbour; nullopt when the
// rounded value does not fit.
std::optional<std::int32_t> roundToInt32(const DecimalNumber& number);

// parseNumber followed by roundToInt32.
enum class Int32Conversion { Ok, NotNumeric, OutOfRange };
struct Int32Result
{
    Int32Conversion status = Int32Conversion::NotNumeric;
    std::int32_t value = 0;
};
Int32Result textToInt32(const QString& text);

// The text of a number cell: integral values below 1e15 in magnitude as plain integers,
// other values with up to 15 significant digits, trailing zeros removed, plain notation for
// 1e-5 <= |x| < 1e15 and E notation ("1.23456789012346E+17") otherwise; -0 gives "0".
// Values that are not finite give "#NUM!".
QString numberToText(double value);

} // namespace setzaiko
