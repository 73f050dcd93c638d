#include "ui/QtPrompter.h"

#include "ui/AppTexts.h"
#include "ui/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QSpacerItem>
#include <QStyle>

namespace setzaiko {

void QtPrompter::beep()
{
    QApplication::beep();
}

namespace {

// A message box sizes itself by its text and buttons alone, so that a box with a short text
// cut its title short ("セット商…庫照会"). Its layout gets a strut as wide as the title in a
// bold title bar font, with room for the window menu and the title bar's buttons beside it.
void makeRoomForTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) {
        return;
    }
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleBar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 5 * titleBar;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

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
    makeRoomForTitle(*box);
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
