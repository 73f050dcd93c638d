// What the window manager is told about who opened each window: every opened window and every
// message box names its opener in WM_TRANSIENT_FOR, as read back from the X server by xprop, so
// that the window manager keeps it in front of the greyed window waiting for it. Runs on the xcb
// platform under a private X server with a window manager (run_with_window_manager.sh).

#include "gui/AppContext.h"
#include "gui/ImportWindow.h"
#include "gui/InquiryWindow.h"
#include "gui/MainMenu.h"
#include "gui/SetStockWindow.h"
#include "gui/WorkbookChooser.h"
#include "support/WindowHarness.h"
#include "ui/DirectoryList.h"
#include "ui/FileList.h"
#include "ui/FlexGrid.h"
#include "ui/QtPrompter.h"
#include "workbook/WorkbookFileOpener.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

// What the X server holds, in xprop's words: "-id <window> <property>" or "-root <property>".
QString xprop(const QStringList& arguments)
{
    QProcess process;
    process.start(u"xprop"_s, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString xprop(QWidget* window, const QString& property)
{
    return xprop({u"-id"_s, QString::number(window->winId()), property});
}

QList<WId> windowIds(const QString& xpropOutput)
{
    static const QRegularExpression windowId(u"0x[0-9a-fA-F]+"_s);
    QList<WId> ids;
    for (const QRegularExpressionMatch& match : windowId.globalMatch(xpropOutput)) {
        ids.append(match.captured().toULongLong(nullptr, 16));
    }
    return ids;
}

// The window WM_TRANSIENT_FOR names, 0 where it names none.
WId transientFor(QWidget* window)
{
    return windowIds(xprop(window, u"WM_TRANSIENT_FOR"_s)).value(0, 0);
}

// Where the window manager is not told to keep the window in front of its opener, what it is
// told instead; empty where it is told.
QString ownerFault(QWidget* window, QWidget* opener)
{
    if (!window || !window->isVisible()) {
        return u"the window is not open"_s;
    }
    // Qt hands the property to the X server with the window's next requests.
    QDeadlineTimer deadline(5000);
    while (transientFor(window) != opener->winId() && !deadline.hasExpired()) {
        QTest::qWait(50);
    }
    if (const WId owner = transientFor(window); owner != opener->winId()) {
        return u"%1: WM_TRANSIENT_FOR names 0x%2, not its opener %3 (0x%4)"_s.arg(
            window->objectName(), QString::number(owner, 16), opener->objectName(),
            QString::number(opener->winId(), 16));
    }
    return {};
}

// An opened window is in front of its opener, drawn, moved and closed as the main menu is, and
// not owned by its opener, which may close before it.
void checkOwner(QWidget* window, QWidget* opener, QWidget* mainMenu)
{
    const QString fault = ownerFault(window, opener);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(xprop(window, u"_MOTIF_WM_HINTS"_s), xprop(mainMenu, u"_MOTIF_WM_HINTS"_s));
    QCOMPARE(window->parent(), nullptr);
}

// The opener raised and activated, as a click on it does: the window stays above it.
void checkStaysInFront(QWidget* window, QWidget* opener)
{
    opener->raise();
    opener->activateWindow();
    QTest::qWait(200);
    // The windows the window manager stacks, bottom first.
    const QList<WId> windows = windowIds(xprop({u"-root"_s, u"_NET_CLIENT_LIST_STACKING"_s}));
    QVERIFY2(windows.indexOf(window->winId()) > windows.indexOf(opener->winId()),
             qPrintable(window->objectName() + u" went behind "_s + opener->objectName()));
}

void click(QPushButton* button)
{
    QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the button and checks the message box it raises while the box waits for the user;
// the box is answered whatever is found, so that a fault never leaves it waiting.
void checkBoxOwner(QPushButton* button, QWidget* owner)
{
    std::optional<QString> fault;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || fault) {
            return;
        }
        poll.stop();
        fault = ownerFault(box, owner);
        box->accept();
    });
    poll.start(50);
    click(button);
    // A box may come from a run that ends later, as the import's does.
    QTRY_VERIFY2_WITH_TIMEOUT(fault.has_value(), "no message box", 20000);
    QVERIFY2(fault->isEmpty(), qPrintable(*fault));
}

} // namespace

class TestWindowOwners : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_s) {
            QSKIP("needs the xcb platform under an X server with a window manager");
        }
    }

    // The road through every window, the real message boxes included.
    void everyWindowAndBoxNamesItsOpener()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QStringLiteral(SETZAIKO_EXAMPLES "/sample.xls"),
                            dir.filePath(u"sample.xls"_s)));
        QtPrompter prompter;
        AppContext context(prompter, [] { return std::make_unique<WorkbookFileOpener>(); });
        auto* menu = new MainMenu(context);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(transientFor(menu), WId(0));

        click(menu->CmdImport());
        auto* importWindow = WindowHarness::find<ImportWindow>(u"Frm0010F"_s);
        checkOwner(importWindow, menu, menu);
        checkStaysInFront(importWindow, menu);

        click(importWindow->CmdFile());
        auto* chooser = WindowHarness::find<WorkbookChooser>(u"FSelect"_s);
        checkOwner(chooser, importWindow, menu);
        QVERIFY(chooser->Dir1()->setPath(QDir(dir.path()).canonicalPath()));
        clickItem(chooser->File1(), u"sample.xls"_s);
        click(chooser->CmdOK());

        checkBoxOwner(importWindow->CmdOK(), importWindow);
        click(importWindow->CmdExit());

        click(menu->CmdZaiko());
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        checkOwner(inquiry, menu, menu);
        click(inquiry->CmdSearch());
        FlexGrid* list = inquiry->MSFlexGrid1();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->cellRect(1, 2).center());
        click(inquiry->CmdZshosai());

        auto* details = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        checkOwner(details, inquiry, menu);
        click(details->CmdSearch());
        QTest::keyClicks(details->TxtJsuryo(), u"abc"_s);
        checkBoxOwner(details->CmdCalc(), details);

        click(details->CmdExit());
        click(inquiry->CmdExit());
    }

    // A failed check leaves its windows open: none outlives its test. Pop-ups are deleted with
    // the window that owns them.
    void cleanup()
    {
        QList<QPointer<QWidget>> windows;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->parentWidget()) {
                windows.append(window);
            }
        }
        for (const QPointer<QWidget>& window : windows) {
            delete window.data();
        }
    }
};

QTEST_MAIN(TestWindowOwners)
#include "tst_WindowOwners.moc"
