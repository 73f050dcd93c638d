#include "common/MessageLanguage.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

struct LocaleCase
{
    const char* name;
    QString lcAll;
    QString lcMessages;
    QString lang;
    MessageLanguage expected;
};

TEST(MessageLanguageTest, FollowsTheVariableThatGovernsMessages)
{
    const auto ja = MessageLanguage::Japanese;
    const auto en = MessageLanguage::English;
    const LocaleCase cases[] = {
        {"nothing set", {}, {}, {}, en},
        {"LANG Japanese", {}, {}, u"ja_JP.UTF-8"_s, ja},
        {"bare ja", {}, {}, u"ja"_s, ja},
        {"ja with a codeset", {}, {}, u"ja.eucJP"_s, ja},
        {"ja with a modifier", {}, {}, u"ja_JP@modifier"_s, ja},
        {"LANG English", {}, {}, u"en_US.UTF-8"_s, en},
        {"C locale", {}, {}, u"C.UTF-8"_s, en},
        {"another language starting with ja", {}, {}, u"jam_JM"_s, en},
        {"upper case is not a locale name", {}, {}, u"JA_JP"_s, en},
        {"LC_MESSAGES over LANG", {}, u"ja_JP.UTF-8"_s, u"en_GB.UTF-8"_s, ja},
        {"LC_MESSAGES English over Japanese LANG", {}, u"C"_s, u"ja_JP.UTF-8"_s, en},
        {"LC_ALL over both", u"C"_s, u"ja_JP.UTF-8"_s, u"ja_JP.UTF-8"_s, en},
        {"LC_ALL Japanese", u"ja_JP.UTF-8"_s, u"C"_s, u"C"_s, ja},
        {"empty LC_ALL counts as unset", u""_s, u""_s, u"ja_JP.UTF-8"_s, ja},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment;
        // An empty value is inserted as such: set but empty must behave as unset.
        if (!c.lcAll.isNull()) {
            environment.insert(u"LC_ALL"_s, c.lcAll);
        }
        if (!c.lcMessages.isNull()) {
            environment.insert(u"LC_MESSAGES"_s, c.lcMessages);
        }
        if (!c.lang.isNull()) {
            environment.insert(u"LANG"_s, c.lang);
        }
        // The other categories never decide the language of messages.
        environment.insert(u"LC_CTYPE"_s, u"ja_JP.UTF-8"_s);
        EXPECT_EQ(messageLanguage(environment), c.expected);
    }
}

} // namespace
} // namespace setzaiko
