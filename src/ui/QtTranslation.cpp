#include "ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::qttranslation {

namespace {

// Loaded once, on first use, and kept until the program ends; empty when the file is missing.
QTranslator& japanese()
{
    static QTranslator* translator = [] {
        auto* loaded = new QTranslator;
        if (!loaded->load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            qWarning("Qt's Japanese translation (qtbase_ja.qm) was not found");
        }
        return loaded;
    }();
    return *translator;
}

struct ButtonText
{
    QMessageBox::StandardButton button;
    const char* source;   // the text Qt gives the button
    QStringView japanese; // the translation's text, for a system without the translation
};

constexpr ButtonText buttonTexts[] = {
    {QMessageBox::Ok, "OK", u"OK"},
    {QMessageBox::Cancel, "Cancel", u"キャンセル"},
};

} // namespace

bool installFor(QCoreApplication& application, const QLocale& locale)
{
    if (locale.language() != QLocale::Japanese || japanese().isEmpty()) {
        return false;
    }
    return application.installTranslator(&japanese());
}

QString buttonText(QMessageBox::StandardButton button)
{
    for (const ButtonText& text : buttonTexts) {
        if (text.button == button) {
            const QString translated = japanese().translate("QPlatformTheme", text.source);
            return translated.isEmpty() ? text.japanese.toString() : translated;
        }
    }
    return {};
}

} // namespace setzaiko::qttranslation
