#include "common/Cp932Encoder.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

struct EncodeCase
{
    QString text;
    QByteArray bytes;
};

class Cp932EncoderTest : public ::testing::Test
{
protected:
    void expectAll(std::initializer_list<EncodeCase> cases) const
    {
        for (const EncodeCase& c : cases) {
            EXPECT_EQ(m_encoder->encode(c.text).toHex(' '), c.bytes.toHex(' '))
                << qPrintable(c.text);
        }
    }

    std::unique_ptr<Cp932Encoder> m_encoder = Cp932Encoder::create();
};

TEST_F(Cp932EncoderTest, CharactersWithWindowsSpecificBytes)
{
    expectAll({
        {u"\uFF5E"_s, "\x81\x60"_ba},                               // FULLWIDTH TILDE
        {u"\u301C"_s, "\x81\x60"_ba},                               // WAVE DASH
        {u"\u2016"_s, "\x81\x61"_ba},                               // DOUBLE VERTICAL LINE
        {u"\u2225"_s, "\x81\x61"_ba},                               // PARALLEL TO
        {u"\u2212"_s, "\x81\x7C"_ba},                               // MINUS SIGN
        {u"\uFF0D"_s, "\x81\x7C"_ba},                               // FULLWIDTH HYPHEN-MINUS
        {u"\u00A2"_s, "\x81\x91"_ba},                               // CENT SIGN
        {u"\uFFE0"_s, "\x81\x91"_ba},                               // FULLWIDTH CENT SIGN
        {u"\u00A3"_s, "\x81\x92"_ba},                               // POUND SIGN
        {u"\uFFE1"_s, "\x81\x92"_ba},                               // FULLWIDTH POUND SIGN
        {u"\u00AC"_s, "\x81\xCA"_ba},                               // NOT SIGN
        {u"\uFFE2"_s, "\x81\xCA"_ba},                               // FULLWIDTH NOT SIGN
        {u"\u00A5"_s, "\x5C"_ba},                                   // YEN SIGN
        {u"\\"_s, "\x5C"_ba},         {u"\u203E"_s, "\x7E"_ba},     // OVERLINE
        {u"~"_s, "\x7E"_ba},          {u"\u2014"_s, "\x81\x5C"_ba}, // EM DASH
        {u"\u2015"_s, "\x81\x5C"_ba},                               // HORIZONTAL BAR
        {u"\u2460"_s, "\x87\x40"_ba},                               // CIRCLED DIGIT ONE
        {u"\u2160"_s, "\x87\x54"_ba},                               // ROMAN NUMERAL ONE
        {u"\u2170"_s, "\xFA\x40"_ba},                               // SMALL ROMAN NUMERAL ONE
        {u"\u9AD9"_s, "\xFB\xFC"_ba},                               // 髙
    });
}

TEST_F(Cp932EncoderTest, OrdinaryText)
{
    expectAll({
        {u""_s, ""_ba},
        {u"SET001,12,-3\r\n"_s, "SET001,12,-3\r\n"_ba},
        {u"セット商品"_s, "\x83\x5A\x83\x62\x83\x67\x8F\xA4\x95\x69"_ba},
        {u"ｾｯﾄ"_s, "\xBE\xAF\xC4"_ba},
        {u"在庫\u3000A-1"_s, "\x8D\xDD\x8C\xC9\x81\x40"
                             "A-1"_ba},
        {u"～\u2212AB〜"_s, "\x81\x60\x81\x7C"
                            "AB\x81\x60"_ba},
        {u"①Ⅰⅰ髙"_s, "\x87\x40\x87\x54\xFA\x40\xFB\xFC"_ba},
    });
}

TEST_F(Cp932EncoderTest, UnencodableCharactersBecomeOneQuestionMarkEach)
{
    const QString loneHigh(QChar(0xD842));
    const QString loneLow(QChar(0xDFB7));
    expectAll({
        {u"\U0001F600"_s, "?"_ba},
        {u"\U00020BB7"_s, "?"_ba},
        {u"\U00020BB7野家"_s, "?\x96\xEC\x89\xC6"_ba},
        {u"A\U0001F600\U0001F600B"_s, "A??B"_ba},
        {u"セ\u00E9ト"_s, "\x83\x5A?\x83\x67"_ba},
        {u"\u00A6\u20AC"_s, "??"_ba},
        {u"\uFEFFA"_s, "?A"_ba}, // a byte order mark in the text is a character like any other
        {loneHigh, "?"_ba},
        {loneLow, "?"_ba},
        {u"A"_s + loneHigh + u"B"_s, "A?B"_ba},
        {u"セ"_s + loneLow + loneHigh, "\x83\x5A??"_ba},
        {loneLow + loneHigh + u"\U0001F600"_s, "???"_ba},
    });
}

TEST_F(Cp932EncoderTest, EncoderIsReusable)
{
    const QString text = u"ｾｯﾄ\U0001F600商品"_s;
    const QByteArray first = m_encoder->encode(text);
    EXPECT_EQ(m_encoder->encode(text), first);
    EXPECT_EQ(m_encoder->encode(u"在庫"_s), "\x8D\xDD\x8C\xC9"_ba);
}

} // namespace
} // namespace setzaiko
