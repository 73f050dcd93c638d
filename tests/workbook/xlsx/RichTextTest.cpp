#include "workbook/xlsx/RichText.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>

using namespace setzaiko::xlsx;

namespace {

std::string repeated(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

} // namespace

// A text is decoded at its exact size, short or long; bytes that are not UTF-8 come out as Qt
// decodes them.
TEST(RichText, ExactTextDecodesAnyLengthAndLeavesMalformedBytesToQt)
{
    const struct
    {
        const char* what;
        std::string utf8;
        bool wellFormed;
    } cases[] = {
        {"empty", "", true},
        {"ASCII", "P000000 x", true},
        {"Japanese",
         "\xE3\x82\xBB\xE3\x83\x83\xE3\x83\x88 \xE7\xAC\xAC"
         "0",
         true},
        {"a byte order mark first", "\xEF\xBB\xBFx", true},
        {"outside the basic plane",
         "a\xF0\x9F\x98\x80"
         "b",
         true},
        {"as long as a short text may be", repeated("\xE6\x97\xA5", 85) + "a", true},
        {"longer", repeated("\xE6\x97\xA5", 300), true},
        {"overlong", "a\xC0\x80", false},
        {"a cut sequence at the end", "a\xE6\x97", false},
        {"an encoded surrogate", "\xED\xA0\x80", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"malformed in a long text", repeated("a", 300) + "\xFF", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = exactText(c.utf8);
        const QString qt = QString::fromUtf8(c.utf8.data(), static_cast<qsizetype>(c.utf8.size()));
        if (c.wellFormed) {
            // Qt passes over a leading byte order mark; a cell keeps it.
            const bool mark = std::string_view(c.utf8).starts_with("\xEF\xBB\xBF");
            EXPECT_EQ(text, mark ? QChar(0xFEFF) + qt : qt);
        } else {
            EXPECT_EQ(text, qt);
        }
        EXPECT_EQ(text.capacity(), text.size());
    }
}
