// Renders every window of the program to PNG, walking the road a user takes with the sample
// workbook: main menu, import window, chooser, the question of 戻る before any import, the
// import window after the import, the inquiry, the component window with an order that runs
// short, and the combined order of two sets that fall short together.
// Usage: setzaiko-render OUTPUT_DIRECTORY WORKBOOK_DIRECTORY

#include "gui/AppContext.h"
#include "gui/CombinedOrderWindow.h"
#include "gui/ImportWindow.h"
#include "gui/InquiryWindow.h"
#include "gui/MainMenu.h"
#include "gui/SetStockWindow.h"
#include "gui/WorkbookChooser.h"
#include "ui/DirectoryList.h"
#include "ui/FileList.h"
#include "ui/FlexGrid.h"
#include "ui/QtPrompter.h"
#include "workbook/WorkbookFileOpener.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

namespace {

// Draws a box over its window where the box would appear, centred on it.
QImage boxOverItsWindow(QMessageBox& box, QWidget* owner)
{
    box.show();
    QCoreApplication::processEvents();
    QImage picture = owner->grab().toImage();
    const QImage boxPicture = box.grab().toImage();
    QPainter painter(&picture);
    const QPoint corner((picture.width() - boxPicture.width()) / 2,
                        (picture.height() - boxPicture.height()) / 2);
    painter.drawImage(corner, boxPicture);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(QRect(corner, boxPicture.size()).adjusted(0, 0, -1, -1));
    box.hide();
    return picture;
}

// Message boxes are recorded, not waited for: the renderer never waits for a click. A question
// is drawn over its window into the file questionPicture names, and answered キャンセル.
class RecordingPrompter : public Prompter
{
public:
    void beep() override {}
    void inform(QWidget*, const QString& text, const QString& = {}) override
    {
        std::printf("box: %s\n", qPrintable(text));
    }
    bool confirm(QWidget* owner, const QString& text, const QString& title) override
    {
        const std::unique_ptr<QMessageBox> box =
            QtPrompter::makeBox(owner, title, text, QMessageBox::Ok | QMessageBox::Cancel);
        const bool saved = boxOverItsWindow(*box, owner).save(questionPicture);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(questionPicture));
        questionSaved = saved;
        return false;
    }

    QString questionPicture;
    bool questionSaved = false;
};

template <typename Window>
Window* findWindow(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible()) {
            return qobject_cast<Window*>(window);
        }
    }
    return nullptr;
}

bool save(QWidget* window, const QString& directory, const QString& name)
{
    QCoreApplication::processEvents();
    const QString path = QDir(directory).filePath(name + u".png"_s);
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: setzaiko-render OUTPUT_DIRECTORY WORKBOOK_DIRECTORY\n", stderr);
        return 64;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString workbooks = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(output);
    QDir::setCurrent(workbooks);

    RecordingPrompter prompter;
    AppContext context(prompter, [] { return std::make_unique<WorkbookFileOpener>(); });
    auto* menu = new MainMenu(context);
    menu->show();
    bool ok = save(menu, output, u"FrmMainF"_s);

    menu->CmdImport()->click();
    auto* importWindow = findWindow<ImportWindow>(u"Frm0010F"_s);
    ok = importWindow && save(importWindow, output, u"Frm0010F"_s) && ok;

    importWindow->CmdFile()->click();
    auto* chooser = findWindow<WorkbookChooser>(u"FSelect"_s);
    if (!chooser) {
        return 1;
    }
    const QList<QListWidgetItem*> sample =
        chooser->File1()->findItems(u"sample.xls"_s, Qt::MatchExactly);
    if (sample.isEmpty()) {
        std::fputs("sample.xls is not in the workbook directory\n", stderr);
        return 1;
    }
    chooser->File1()->setCurrentItem(sample.front());
    ok = save(chooser, output, u"FSelect"_s) && ok;
    chooser->CmdOK()->click();

    // 戻る with a workbook chosen but not imported asks first; キャンセル stays.
    prompter.questionPicture = QDir(output).filePath(u"Frm0010F-leave-question.png"_s);
    importWindow->CmdExit()->click();
    ok = prompter.questionSaved && ok;

    importWindow->CmdOK()->click();
    // The import runs off the window's thread: its end gives 戻る back.
    const QDeadlineTimer deadline(30000);
    while (!importWindow->CmdExit()->isEnabled() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ok = save(importWindow, output, u"Frm0010F-imported"_s) && ok;
    importWindow->CmdExit()->click();
    ok = save(menu, output, u"FrmMainF-after-import"_s) && ok;

    // The inquiry, listed in full, with the set product whose typical order runs short chosen.
    menu->CmdZaiko()->click();
    auto* inquiry = findWindow<InquiryWindow>(u"Frm0020F"_s);
    if (!inquiry) {
        return 1;
    }
    inquiry->CmdSearch()->click();
    inquiry->MSFlexGrid1()->setCurrent(5, 1);
    ok = save(inquiry, output, u"Frm0020F"_s) && ok;

    inquiry->CmdZshosai()->click();
    auto* details = findWindow<SetStockWindow>(u"Frm0030F"_s);
    if (!details) {
        return 1;
    }
    details->CmdSearch()->click();
    ok = save(details, output, u"Frm0030F"_s) && ok;
    details->TxtJsuryo()->setText(u"10"_s);
    details->CmdCalc()->click();
    ok = save(details, output, u"Frm0030F-simulated"_s) && ok;
    details->CmdExit()->click();

    // The combined order of two sets that share their noodles and sauce: each is met alone,
    // together they fall short.
    inquiry->CmdMatome()->click();
    auto* combined = findWindow<CombinedOrderWindow>(u"Frm0040F"_s);
    if (!combined) {
        return 1;
    }
    const std::pair<int, QString> orders[] = {{6, u"90"_s}, {21, u"43"_s}};
    for (const auto& [row, quantity] : orders) {
        inquiry->MSFlexGrid1()->setCurrent(row, 1);
        combined->TxtJsuryo()->setText(quantity);
        combined->CmdAdd()->click();
    }
    ok = save(combined, output, u"Frm0040F"_s) && ok;
    return ok ? 0 : 1;
}
