#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace setzaiko {

// The language of the programs' own command-line texts (usage and help). The windows and the
// command results are Japanese whatever the locale; only these texts follow it.
enum class MessageLanguage { English, Japanese };

// Japanese when the locale that governs messages is a Japanese one (ja, ja_JP, ja_JP.UTF-8,
// ja_JP@...), English otherwise. The variables count in the C library's order: a non-empty
// LC_ALL overrides LC_MESSAGES, which overrides LANG.
inline MessageLanguage messageLanguage(const QProcessEnvironment& environment)
{
    QString locale;
    for (const QString& variable :
         {QStringLiteral("LC_ALL"), QStringLiteral("LC_MESSAGES"), QStringLiteral("LANG")}) {
        locale = environment.value(variable);
        if (!locale.isEmpty()) {
            break;
        }
    }
    const bool japanese =
        locale.startsWith(QStringLiteral("ja")) &&
        (locale.size() == 2 || locale[2] == u'_' || locale[2] == u'.' || locale[2] == u'@');
    return japanese ? MessageLanguage::Japanese : MessageLanguage::English;
}

} // namespace setzaiko
