#include "ui/QtPrompter.h"

#include "ui/AppTexts.h"

#include <QApplication>
#include <QMessageBox>

namespace setzaiko {

void QtPrompter::beep()
{
    QApplication::beep();
}

void QtPrompter::inform(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, apptexts::title.toString(), text, QMessageBox::Ok);
    box.exec();
}

bool QtPrompter::confirm(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

} // namespace setzaiko
