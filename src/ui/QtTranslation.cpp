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

// The source texts Qt gives its standard buttons.
const char* sourceText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return "OK";
    case QMessageBox::Cancel:
        return "Cancel";
    default:
        return nullptr;
    }
}

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
    const char* source = sourceText(button);
    if (!source) {
        return {};
    }
    const QString translated = japanese().translate("QPlatformTheme", source);
    return translated.isEmpty() ? QString::fromLatin1(source) : translated;
}

} // namespace setzaiko::qttranslation
