// The road of a typical run, click by click, as a user walks it with the sample workbook.

#include "gui/ImportWindow.h"
#include "gui/InquiryWindow.h"
#include "gui/SetStockWindow.h"
#include "gui/WorkbookChooser.h"
#include "support/WindowHarness.h"
#include "ui/DirectoryList.h"
#include "ui/FileList.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

void click(QPushButton* button)
{
    QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickCell(FlexGrid* grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, column).center());
}

QString decodeCp932(const QByteArray& bytes)
{
    QProcess iconv;
    iconv.start(u"iconv"_s, {u"-f"_s, u"CP932"_s, u"-t"_s, u"UTF-8"_s});
    iconv.write(bytes);
    iconv.closeWriteChannel();
    iconv.waitForFinished();
    return QString::fromUtf8(iconv.readAllStandardOutput());
}

// The stock status file of S0005 with an order of 10, the one file of its kind in the folder.
void checkStockStatusFile(const QString& folder)
{
    const QStringList written =
        QDir(folder).entryList({u"S0005_お歳暮ハムギフト_*.csv"_s}, QDir::Files);
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.front().size(), u"S0005_お歳暮ハムギフト_261207123456.csv"_s.size());
    QFile file(QDir(folder).filePath(written.front()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count("\r\n"), 7);
    QCOMPARE(bytes.count('\n'), 7);
    QCOMPARE(
        decodeCp932(bytes),
        u"商品コード,商品名,受注数量,数量単位,在庫数量,追加可能数量,出荷不足数量,"
        u"構成商品コード,"
        u"構成商品名,構成商品在庫数量,構成商品単位,製品構成数量,出荷必要在庫数量,"
        u"出荷不足在庫数量,\r\n"
        u"S0005,お歳暮ハムギフト,10,セット,2,5,3,P00066,ロースハム 300g,5,本,1,8,-3,\r\n"
        u"S0005,お歳暮ハムギフト,10,セット,2,5,3,P00067,あらびきソーセージ "
        u"150g,40,袋,2,16,0,\r\n"
        u"S0005,お歳暮ハムギフト,10,セット,2,5,3,P00068,煮込みハンバーグ 120g,36,個,2,16,0,\r\n"
        u"S0005,お歳暮ハムギフト,10,セット,2,5,3,P00057,化粧箱 中,400,個,1,8,0,\r\n"
        u"S0005,お歳暮ハムギフト,10,セット,2,5,3,P00063,保冷剤,300,個,2,16,0,\r\n"
        u"S0005,お歳暮ハムギフト,10,セット,2,5,3,P00061,のし紙 短冊,1000,個,1,8,0,\r\n"_s);
}

// The window system activates a window when it is shown and its opener when it closes; the
// headless platform leaves that to the test. Focus then goes where Qt puts it on activation.
void activate(QWidget* window)
{
    QVERIFY(window);
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
    }
    // A window in front of its opener counts as active with it: wait for the window itself.
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

// One key, pressed where the focus is.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no control has the focus");
    QTest::keyClick(focus, key, modifiers);
}

// Tab until the control has the focus; a control more than a few stops away is a fault.
void tabTo(QWidget* control)
{
    for (int stops = 0; QApplication::focusWidget() != control; ++stops) {
        QVERIFY2(stops < 8, qPrintable(control->objectName()));
        press(Qt::Key_Tab);
    }
}

} // namespace

class TestWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    void importInquireSimulateExportAndGoBack()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QStringLiteral(SETZAIKO_EXAMPLES "/sample.xls"),
                            dir.filePath(u"sample.xls"_s)));
        const QString folder = QDir(dir.path()).canonicalPath();
        WindowHarness app;
        MainMenu* menu = app.mainMenu;

        // 1-2: the main menu opens the import window.
        QVERIFY(!menu->CmdZaiko()->isEnabled());
        click(menu->CmdImport());
        auto* importWindow = WindowHarness::find<ImportWindow>(u"Frm0010F"_s);
        QVERIFY(importWindow);

        // 3: the chooser: open the workbook's folder, pick the workbook, 決定.
        click(importWindow->CmdFile());
        auto* chooser = WindowHarness::find<WorkbookChooser>(u"FSelect"_s);
        QVERIFY(chooser->Dir1()->setPath(folder));
        clickItem(chooser->File1(), u"sample.xls"_s);
        click(chooser->CmdOK());
        QCOMPARE(importWindow->TxtFile()->text(), folder + u"/sample.xls"_s);

        // 4: the import.
        click(importWindow->CmdOK());
        QTRY_COMPARE(app.prompter.events, QStringList{u"box:合計 248 件のデータを抽出しました"_s});
        app.prompter.events.clear();

        // 5: back to the main menu, with the inquiry enabled and the folder remembered.
        click(importWindow->CmdExit());
        QVERIFY(menu->CmdZaiko()->isEnabled());
        QCOMPARE(menu->directory(), folder + u'/');

        // 6: the inquiry lists every set product; a click picks S0005.
        click(menu->CmdZaiko());
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        QVERIFY(inquiry);
        QCOMPARE(inquiry->directory(), folder + u'/');
        click(inquiry->CmdSearch());
        FlexGrid* list = inquiry->MSFlexGrid1();
        QCOMPARE(list->text(30, 0), u"30"_s);
        QCOMPARE(list->text(31, 0), QString());
        int row = 1;
        while (list->text(row, 2) != u"S0005"_s) {
            ++row;
        }
        clickCell(list, row, 2);
        QCOMPARE(inquiry->chosenSetProduct().value_or(SetProduct()).code, u"S0005"_s);
        click(inquiry->CmdZshosai());
        QVERIFY(!inquiry->CmdSearch()->isEnabled());

        // 7: the components of the set product.
        auto* details = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        QVERIFY(details);
        click(details->CmdSearch());
        QCOMPARE(details->screen().listedRows(), 6);
        QCOMPARE(details->LblKnousu()->text(), u"5"_s);
        QCOMPARE(details->LblMsg()->text(), QString());

        // 8: an order of 10 with 2 in stock builds 8 sets: the ham runs 3 short.
        QTest::keyClicks(details->TxtJsuryo(), u"10"_s);
        click(details->CmdCalc());
        FlexGrid* components = details->MSFlexGrid1();
        QCOMPARE(components->text(1, 2), u"P00066"_s);
        QCOMPARE(components->text(1, 6), u"8"_s);
        QCOMPARE(components->text(1, 7), u"-3"_s);
        QCOMPARE(components->backgroundColour(1, 7), QColor(255, 255, 0));
        QCOMPARE(components->textColour(1, 7), QColor(255, 0, 0));
        QCOMPARE(components->backgroundColour(2, 7), QColor(255, 255, 255));
        QVERIFY(app.prompter.events.isEmpty());

        // 9: the stock status file in the workbook's folder.
        click(details->CmdCsvout());
        QCOMPARE(app.prompter.events, QStringList{u"box:6 件のデータを出力しました"_s});
        checkStockStatusFile(folder);
        QVERIFY(details->CmdSearch()->isEnabled() && details->CmdCalc()->isEnabled() &&
                details->CmdCsvout()->isEnabled() && details->CmdExit()->isEnabled());

        // 10: back along the chain.
        click(details->CmdExit());
        QVERIFY(!WindowHarness::find<SetStockWindow>(u"Frm0030F"_s));
        QVERIFY(inquiry->CmdSearch()->isEnabled() && inquiry->CmdZshosai()->isEnabled() &&
                inquiry->CmdExit()->isEnabled());
        QVERIFY(!menu->CmdImport()->isEnabled());
        click(inquiry->CmdExit());
        QVERIFY(!WindowHarness::find<InquiryWindow>(u"Frm0020F"_s));
        QVERIFY(menu->CmdImport()->isEnabled() && menu->CmdZaiko()->isEnabled() &&
                menu->CmdExit()->isEnabled());
        click(menu->CmdExit());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu.isNull());
    }

    // The same road with the keyboard alone, ending in the same file.
    void walkedWithTheKeyboardOnly()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"books"_s));
        const QString folder = QDir(dir.path()).canonicalPath() + u"/books"_s;
        QVERIFY(QFile::copy(QStringLiteral(SETZAIKO_EXAMPLES "/sample.xls"),
                            folder + u"/sample.xls"_s));
        const QString startDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        WindowHarness app;
        MainMenu* menu = app.mainMenu;

        // The main menu opens with the focus on its first button.
        activate(menu);
        QCOMPARE(QApplication::focusWidget(), menu->CmdImport());
        press(Qt::Key_Return);
        auto* importWindow = WindowHarness::find<ImportWindow>(u"Frm0010F"_s);
        activate(importWindow);
        QCOMPARE(QApplication::focusWidget(), importWindow->CmdFile());
        press(Qt::Key_Return);

        // The chooser, which opens on its file list: down into the folder, pick the workbook,
        // open it.
        auto* chooser = WindowHarness::find<WorkbookChooser>(u"FSelect"_s);
        activate(chooser);
        QCOMPARE(QApplication::focusWidget(), chooser->File1());
        tabTo(chooser->Dir1());
        press(Qt::Key_End);
        QCOMPARE(chooser->Dir1()->currentItem()->text().trimmed(), u"books"_s);
        press(Qt::Key_Return);
        QCOMPARE(chooser->Dir1()->path(), folder);
        tabTo(chooser->File1());
        press(Qt::Key_Down);
        QCOMPARE(chooser->fileName(), u"sample.xls"_s);
        press(Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
        QCOMPARE(importWindow->TxtFile()->text(), folder + u"/sample.xls"_s);

        // The import, where the focus waits on the import button, and back to the main menu
        // from 戻る, where it waits after the import.
        activate(importWindow);
        QCOMPARE(QApplication::focusWidget(), importWindow->CmdOK());
        press(Qt::Key_Return);
        QTRY_COMPARE(app.prompter.events, QStringList{u"box:合計 248 件のデータを抽出しました"_s});
        QCOMPARE(app.prompter.owners, QList<QWidget*>{importWindow});
        app.prompter.events.clear();
        app.prompter.owners.clear();
        QCOMPARE(QApplication::focusWidget(), importWindow->CmdExit());
        press(Qt::Key_Return);
        QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));

        // The inquiry: Enter in the empty code box lists everything; walk down to S0005 with the
        // arrow keys.
        activate(menu);
        tabTo(menu->CmdZaiko());
        press(Qt::Key_Return);
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        activate(inquiry);
        QCOMPARE(QApplication::focusWidget(), inquiry->TxtScode());
        press(Qt::Key_Return);
        FlexGrid* list = inquiry->MSFlexGrid1();
        QCOMPARE(list->text(30, 0), u"30"_s);
        tabTo(list);
        while (list->text(list->row(), 2) != u"S0005"_s) {
            QVERIFY(list->row() < 30);
            press(Qt::Key_Down);
        }
        QCOMPARE(inquiry->chosenSetProduct().value_or(SetProduct()).code, u"S0005"_s);
        const int s0005 = list->row();
        press(Qt::Key_Return);

        // The components, an order of 10 with Enter for 再計算, and the stock status file.
        auto* details = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        activate(details);
        QCOMPARE(QApplication::focusWidget(), details->CmdSearch());
        press(Qt::Key_Return);
        QCOMPARE(details->screen().listedRows(), 6);
        tabTo(details->TxtJsuryo());
        QTest::keyClicks(QApplication::focusWidget(), u"10"_s);
        press(Qt::Key_Return);
        QCOMPARE(details->MSFlexGrid1()->text(1, 7), u"-3"_s);
        QVERIFY(app.prompter.events.isEmpty());
        tabTo(details->CmdCsvout());
        press(Qt::Key_Return);
        QCOMPARE(app.prompter.events, QStringList{u"box:6 件のデータを出力しました"_s});
        QCOMPARE(app.prompter.owners, QList<QWidget*>{details});
        checkStockStatusFile(folder);
        QCOMPARE(QApplication::focusWidget(), details->CmdCsvout());

        // Back along the chain with Esc, landing on the row and on 在庫照会; then 終了.
        press(Qt::Key_Escape);
        QVERIFY(!WindowHarness::find<SetStockWindow>(u"Frm0030F"_s));
        activate(inquiry);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->row(), s0005);
        press(Qt::Key_Escape);
        QVERIFY(!WindowHarness::find<InquiryWindow>(u"Frm0020F"_s));
        activate(menu);
        QCOMPARE(QApplication::focusWidget(), menu->CmdZaiko());
        tabTo(menu->CmdExit());
        press(Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu.isNull());
        QVERIFY(QDir::setCurrent(startDirectory));
    }
};

QTEST_MAIN(TestWholeRoad)
#include "tst_WholeRoad.moc"
