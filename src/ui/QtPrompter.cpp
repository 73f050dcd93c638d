#include "ui/QtPrompter.h"

#include "ui/AppTexts.h"
#include "ui/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>

namespace setzaiko {

void QtPrompter::beep()
{
    QApplication::beep();
}

// Owned by the window that raised it, so that it appears over that window; modal to the
// whole program, as every box is.
std::unique_ptr<QMessageBox> QtPrompter::makeBox(QWidget* owner, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text, buttons, owner);
    for (QAbstractButton* button : box->buttons()) {
        if (const QString caption = qttranslation::buttonText(box->standardButton(button));
            !caption.isEmpty()) {
            button->setText(caption);
        }
    }
    if (buttons & QMessageBox::Ok) {
        box->setDefaultButton(QMessageBox::Ok);
    }
    return box;
}

void QtPrompter::inform(QWidget* owner, const QString& text, const QString& details)
{
    const std::unique_ptr<QMessageBox> box =
        makeBox(owner, apptexts::title.toString(), text, QMessageBox::Ok);
    if (!details.isEmpty()) {
        box->setDetailedText(details);
    }
    box->exec();
}

bool QtPrompter::confirm(QWidget* owner, const QString& text, const QString& title)
{
    return makeBox(owner, title, text, QMessageBox::Ok | QMessageBox::Cancel)->exec() ==
           QMessageBox::Ok;
}

} // namespace setzaiko
