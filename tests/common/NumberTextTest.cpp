#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

struct ParsedCase
{
    QString text;
    bool negative;
    const char* digits;
    std::int64_t exponent;
};

TEST(NumberTextTest, AcceptedTextsGiveTheExactNormalisedValue)
{
    const ParsedCase cases[] = {
        {u"0"_s, false, "", 0},
        {u"-0"_s, false, "", 0},
        {u"000.000"_s, false, "", 0},
        {u"-0e5"_s, false, "", 0},
        {u"123"_s, false, "123", 3},
        {u"+123"_s, false, "123", 3},
        {u"-123"_s, true, "123", 3},
        {u"100"_s, false, "1", 3},
        {u"1,234"_s, false, "1234", 4},
        {u"1,2"_s, false, "12", 2},
        {u"1,2,3"_s, false, "123", 3},
        {u"12,345,678"_s, false, "12345678", 8},
        {u"5."_s, false, "5", 1},
        {u".5"_s, false, "5", 0},
        {u"-.5"_s, true, "5", 0},
        {u"000123.4500"_s, false, "12345", 3},
        {u"0.00123"_s, false, "123", -2},
        {u"1e3"_s, false, "1", 4},
        {u"1E+3"_s, false, "1", 4},
        {u"1e007"_s, false, "1", 8},
        {u"1.5e-3"_s, false, "15", -2},
        {u"2.e2"_s, false, "2", 3},
        {u".5E1"_s, false, "5", 1},
        {u"1,234.5e-2"_s, false, "12345", 2},
        {u"  42  "_s, false, "42", 2},
        {u"\u3000 42\u3000 "_s, false, "42", 2},
        {u"１，２３４．５"_s, false, "12345", 4},
        {u"１,２3"_s, false, "123", 3},
        {u"－１"_s, true, "1", 1},
        {u"＋１"_s, false, "1", 1},
        {u"１ｅ２"_s, false, "1", 3},
        {u"１Ｅ－２"_s, false, "1", -1},
        {u"1e＋2"_s, false, "1", 3},
        {u"2147483647.5"_s, false, "21474836475", 10},
    };
    for (const ParsedCase& c : cases) {
        const std::optional<DecimalNumber> number = parseNumber(c.text);
        ASSERT_TRUE(number.has_value()) << qPrintable(c.text);
        EXPECT_EQ(number->negative, c.negative) << qPrintable(c.text);
        EXPECT_EQ(number->digits, QByteArray(c.digits)) << qPrintable(c.text);
        EXPECT_EQ(number->exponent, c.exponent) << qPrintable(c.text);
        EXPECT_TRUE(isNumeric(c.text));
    }
}

TEST(NumberTextTest, RefusedTexts)
{
    // MINUS SIGN is no sign; other scripts' digits, circled digits, currency and words are no
    // number.
    const QString cases[] = {
        u""_s,        u"   "_s,       u"\u3000"_s,   u"+"_s,      u"-"_s,         u"."_s,
        u"．"_s,      u"+."_s,        u"-.e1"_s,     u"e5"_s,     u"ｅ5"_s,       u"1e"_s,
        u"1e+"_s,     u"1e-"_s,       u"1e2.5"_s,    u"1e1e1"_s,  u"1e1,0"_s,     u","_s,
        u",1"_s,      u"1,"_s,        u"1,,2"_s,     u"1,234,"_s, u"1,.5"_s,      u"1.2,3"_s,
        u"1.2.3"_s,   u"++1"_s,       u"+-1"_s,      u"1-"_s,     u"1 2"_s,       u"1 ,234"_s,
        u"- 1"_s,     u"1 e5"_s,      u"1\u30002"_s, u"\t1"_s,    u"1\t"_s,       u"\u00A01"_s,
        u"\u22121"_s, u"1e\u22122"_s, u"0x1A"_s,     u"Inf"_s,    u"-Infinity"_s, u"NaN"_s,
        u"$1"_s,      u"\u00A5100"_s, u"１００円"_s, u"12abc"_s,  u"1d5"_s,       u"1_000"_s,
        u"1'000"_s,   u"\u0663"_s,    u"\u2460"_s,   u"1\n"_s};
    for (const QString& text : cases) {
        EXPECT_FALSE(parseNumber(text).has_value()) << qPrintable(text);
        EXPECT_EQ(textToInt32(text).status, Int32Conversion::NotNumeric) << qPrintable(text);
    }
}

TEST(NumberTextTest, HugeExponentsAndDigitRunsStayBounded)
{
    const std::optional<DecimalNumber> huge = parseNumber(u"1e99999999999999999999"_s);
    ASSERT_TRUE(huge.has_value());
    EXPECT_EQ(huge->exponent, DecimalNumber::exponentLimit);
    EXPECT_FALSE(roundToInt32(*huge).has_value());

    const std::optional<DecimalNumber> tiny = parseNumber(u"-9.9e-99999999999999999999"_s);
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(tiny->exponent, -DecimalNumber::exponentLimit);
    EXPECT_EQ(roundToInt32(*tiny), 0);

    const QString longInteger = u"1"_s + QString(100000, u'0');
    EXPECT_EQ(textToInt32(longInteger).status, Int32Conversion::OutOfRange);
    EXPECT_EQ(textToInt32(longInteger + u"e-99999"_s).value, 10);
    const QString zeros = u"0."_s + QString(100000, u'0');
    EXPECT_EQ(textToInt32(zeros + u"1e100000"_s).value, 0);
    EXPECT_EQ(textToInt32(zeros + u"15e100001"_s).value, 2);
    EXPECT_EQ(textToInt32(QString(100000, u'0') + u"5"_s).value, 5);
}

struct RoundCase
{
    QString text;
    Int32Conversion status;
    std::int32_t value;
};

TEST(NumberTextTest, ConversionRoundsHalfToEvenAndChecksTheRange)
{
    constexpr auto ok = Int32Conversion::Ok;
    constexpr auto outOfRange = Int32Conversion::OutOfRange;
    const RoundCase cases[] = {
        {u"12.5"_s, ok, 12},
        {u"13.5"_s, ok, 14},
        {u"-2.5"_s, ok, -2},
        {u"-3.5"_s, ok, -4},
        {u"0.5"_s, ok, 0},
        {u"-0.5"_s, ok, 0},
        {u"1.5"_s, ok, 2},
        {u"2.5"_s, ok, 2},
        {u"0.49999999999999999999"_s, ok, 0},
        {u"0.5000000000000000001"_s, ok, 1},
        {u"2.5000000000000000001"_s, ok, 3},
        {u"2.4999999999999999999"_s, ok, 2},
        {u"0.05"_s, ok, 0},
        {u"0.6"_s, ok, 1},
        {u"5e-1"_s, ok, 0},
        {u"15e-1"_s, ok, 2},
        {u"1.5e0"_s, ok, 2},
        {u"1e-30"_s, ok, 0},
        {u"1,234"_s, ok, 1234},
        {u"-1,234.5"_s, ok, -1234},
        {u"1,000,000,000"_s, ok, 1000000000},
        {u"1e9"_s, ok, 1000000000},
        {u"＋０"_s, ok, 0},
        {u" 9999999 "_s, ok, 9999999},
        {u"2147483647"_s, ok, 2147483647},
        {u"2147483647.4"_s, ok, 2147483647},
        {u"2147483647.49999999999"_s, ok, 2147483647},
        {u"2147483646.5"_s, ok, 2147483646},
        {u"2.147483647e9"_s, ok, 2147483647},
        {u"2147483647.5"_s, outOfRange, 0},
        {u"2.1474836475e9"_s, outOfRange, 0},
        {u"2147483648"_s, outOfRange, 0},
        {u"-2147483648"_s, ok, std::numeric_limits<std::int32_t>::min()},
        {u"-2147483648.5"_s, ok, std::numeric_limits<std::int32_t>::min()},
        {u"-2147483648.5000001"_s, outOfRange, 0},
        {u"-2147483649"_s, outOfRange, 0},
        {u"9999999999"_s, outOfRange, 0},
        {u"1e10"_s, outOfRange, 0},
        {u"-1e10"_s, outOfRange, 0},
        {u"12345678901234567890"_s, outOfRange, 0},
    };
    for (const RoundCase& c : cases) {
        const Int32Result result = textToInt32(c.text);
        EXPECT_EQ(result.status, c.status) << qPrintable(c.text);
        EXPECT_EQ(result.value, c.value) << qPrintable(c.text);
    }
}

struct TextCase
{
    double value;
    QString text;
};

TEST(NumberTextTest, NumberCellText)
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const TextCase cases[] = {
        {0.0, u"0"_s},
        {-0.0, u"0"_s},
        {1001.0, u"1001"_s},
        {-5.0, u"-5"_s},
        {100.0, u"100"_s},
        {2147483648.0, u"2147483648"_s},
        {123456789012345.0, u"123456789012345"_s},
        {999999999999999.0, u"999999999999999"_s},
        {-999999999999999.0, u"-999999999999999"_s},
        {1e15, u"1E+15"_s},
        {-1e15, u"-1E+15"_s},
        {999999999999999.9, u"1E+15"_s},
        {1e20, u"1E+20"_s},
        {123456789012345678.0, u"1.23456789012346E+17"_s},
        {1e300, u"1E+300"_s},
        {std::numeric_limits<double>::max(), u"1.79769313486232E+308"_s},
        {std::numeric_limits<double>::denorm_min(), u"4.94065645841247E-324"_s},
        {0.1, u"0.1"_s},
        {0.1 + 0.2, u"0.3"_s},
        {12.5, u"12.5"_s},
        {-12.5, u"-12.5"_s},
        {4.35, u"4.35"_s},
        {44197.5, u"44197.5"_s},
        {1234.5678, u"1234.5678"_s},
        {1.0 / 3, u"0.333333333333333"_s},
        {2.0 / 3, u"0.666666666666667"_s},
        {123456789.123456789, u"123456789.123457"_s},
        {12345678901234.5, u"12345678901234.5"_s},
        {0.000123, u"0.000123"_s},
        {1e-5, u"0.00001"_s},
        {1.5e-5, u"0.000015"_s},
        {9.999999999999999e-6, u"0.00001"_s},
        {9.99e-6, u"9.99E-06"_s},
        {1.5e-7, u"1.5E-07"_s},
        {-1.5e-7, u"-1.5E-07"_s},
        {std::nan(""), u"#NUM!"_s},
        {infinity, u"#NUM!"_s},
        {-infinity, u"#NUM!"_s},
    };
    for (const TextCase& c : cases) {
        const QString text = numberToText(c.value);
        EXPECT_EQ(text, c.text) << c.value;
        // The text of a finite number cell is itself a number text.
        if (std::isfinite(c.value)) {
            EXPECT_TRUE(isNumeric(text)) << qPrintable(text);
        }
    }
}

TEST(NumberTextTest, NumberCellTextConvertsBackToTheRoundedValue)
{
    EXPECT_EQ(textToInt32(numberToText(12.5)).value, 12);
    EXPECT_EQ(textToInt32(numberToText(2147483647.5)).status, Int32Conversion::OutOfRange);
    EXPECT_EQ(textToInt32(numberToText(-7.0)).value, -7);
}

} // namespace
} // namespace setzaiko
