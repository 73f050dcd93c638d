#include "ui/QtPrompter.h"

#include "ui/AppTexts.h"
#include "ui/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace setzaiko {

namespace {

// Owned by the window that raised it, so that it appears over that window; modal to the
// whole program, as every box is.
int showOver(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, owner);
    for (QAbstractButton* button : box.buttons()) {
        button->setText(qttranslation::buttonText(box.standardButton(button)));
    }
    if (buttons & QMessageBox::Ok) {
        box.setDefaultButton(QMessageBox::Ok);
    }
    return box.exec();
}

} // namespace

void QtPrompter::beep()
{
    QApplication::beep();
}

void QtPrompter::inform(QWidget* owner, const QString& text)
{
    showOver(owner, QMessageBox::NoIcon, apptexts::title.toString(), text, QMessageBox::Ok);
}

bool QtPrompter::confirm(QWidget* owner, const QString& text, const QString& title)
{
    return showOver(owner, QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

} // namespace setzaiko
