#pragma once

#include <QLocale>
#include <QMessageBox>
#include <QString>

class QCoreApplication;

namespace setzaiko::qttranslation {

// Qt's own texts (the buttons of message boxes, the context menus of text boxes) in Japanese,
// from the translation Qt keeps beside its libraries. Our own texts do not pass through it.

// Installs the translation into the application when the locale speaks Japanese; true when it
// was installed. Without the translation file nothing changes.
bool installFor(QCoreApplication& application, const QLocale& locale);

// The Japanese text of the OK or Cancel button, whatever the locale: the buttons of our own
// boxes always read so, with the translation file or without it.
QString buttonText(QMessageBox::StandardButton button);

} // namespace setzaiko::qttranslation
