#include "common/TextRules.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

struct TrimCase
{
    QString text;
    QString rightTrimmed;
    QString trimmed;
};

TEST(TextRulesTest, TrimsOrdinaryAndIdeographicSpacesOnly)
{
    const TrimCase cases[] = {
        {u""_s, u""_s, u""_s},
        {u"   "_s, u""_s, u""_s},
        {u"\u3000 \u3000"_s, u""_s, u""_s},
        {u"ABC"_s, u"ABC"_s, u"ABC"_s},
        {u"  A B  "_s, u"  A B"_s, u"A B"_s},
        {u"\u3000セット\u3000"_s, u"\u3000セット"_s, u"セット"_s},
        {u" \u3000x \u3000 "_s, u" \u3000x"_s, u"x"_s},
        // Only the two spaces count: TAB, no-break space, CR and LF stay.
        {u"\tA\t"_s, u"\tA\t"_s, u"\tA\t"_s},
        {u"A \t"_s, u"A \t"_s, u"A \t"_s},
        {u"\u00A0A\u00A0"_s, u"\u00A0A\u00A0"_s, u"\u00A0A\u00A0"_s},
        {u" A\r\n "_s, u" A\r\n"_s, u"A\r\n"_s},
        {u"\u2003A\u2003"_s, u"\u2003A\u2003"_s, u"\u2003A\u2003"_s},
    };
    for (const TrimCase& c : cases) {
        EXPECT_EQ(rightTrim(c.text), c.rightTrimmed) << qPrintable(c.text);
        EXPECT_EQ(trim(c.text), c.trimmed) << qPrintable(c.text);
    }
}

TEST(TextRulesTest, UntouchedTextIsSharedNotCopied)
{
    const QString text = u"  商品コード"_s;
    EXPECT_EQ(rightTrim(text).constData(), text.constData());
    const QString inner = u"商品コード"_s;
    EXPECT_EQ(trim(inner).constData(), inner.constData());
}

} // namespace
} // namespace setzaiko
