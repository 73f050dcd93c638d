#include "common/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

struct FormatCase
{
    std::int64_t value;
    QStringView pattern;
    QString text;
};

TEST(NumberFormatTest, PlainAndGroupedPatterns)
{
    constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
    const FormatCase cases[] = {
        {0, formats::digits3, u"0"_s},
        {7, formats::digits3, u"7"_s},
        {-7, formats::digits3, u"-7"_s},
        {999, formats::digits3, u"999"_s},
        {123456, formats::digits3, u"123456"_s},
        {1234567, formats::digits6, u"1234567"_s},
        {-1234567, formats::digits9, u"-1234567"_s},
        {2147483647, formats::digits9, u"2147483647"_s},
        {0, formats::grouped6, u"0"_s},
        {-5, formats::grouped6, u"-5"_s},
        {999, formats::grouped6, u"999"_s},
        {1000, formats::grouped6, u"1,000"_s},
        {1234, formats::grouped6, u"1,234"_s},
        {-1234, formats::grouped6, u"-1,234"_s},
        {-123456, formats::grouped6, u"-123,456"_s},
        {999999, formats::grouped6, u"999,999"_s},
        {1000000, formats::grouped6, u"1,000,000"_s},
        {9999999, formats::grouped9, u"9,999,999"_s},
        {123456789, formats::grouped9, u"123,456,789"_s},
        {2147483647, formats::grouped9, u"2,147,483,647"_s},
        {-2147483648, formats::grouped9, u"-2,147,483,648"_s},
        {int64Max, formats::grouped9, u"9,223,372,036,854,775,807"_s},
        {int64Min, formats::grouped9, u"-9,223,372,036,854,775,808"_s},
        {int64Min, formats::digits3, u"-9223372036854775808"_s},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.text)
            << c.value << " " << qPrintable(c.pattern.toString());
    }
}

} // namespace
} // namespace setzaiko
