#include "gui/ImportWindow.h"
#include "gui/WorkbookChooser.h"
#include "support/AccessibleTree.h"
#include "support/ButtonStates.h"
#include "support/MasterRows.h"
#include "support/MemoryWorkbook.h"
#include "support/TestWorkbooks.h"
#include "support/WindowHarness.h"
#include "ui/DirectoryList.h"
#include "ui/FileList.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

const QString importing = u"取込中・・・・・・"_s;
const QString success = u"EXCELより商品・在庫データを取込みました。「戻る」を押下してください"_s;
const QString failed = u"取込みエラーが発生しました"_s;
const QString pressImport = u"<< EXCELデータ取込ボタン >> を押下してください"_s;
const QString leaveQuestion =
    u"question:EXCELデータ取込:EXCELファイルの取込が行われてません。前画面に戻ってよろしいでしょうか。"_s;

Buttons buttonsOf(const ImportWindow* window)
{
    return {window->CmdFile()->isEnabled(), window->CmdOK()->isEnabled(),
            window->CmdExit()->isEnabled()};
}

} // namespace

class TestImportWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString book(const QString& name) const { return m_dir.filePath(name); }

    ImportWindow* openImportWindow(WindowHarness& app)
    {
        QTest::mouseClick(app.mainMenu->CmdImport(), Qt::LeftButton);
        return WindowHarness::find<ImportWindow>(u"Frm0010F"_s);
    }

    // 参照, open the test directory, click the workbook and press 決定.
    void choose(ImportWindow* window, const QString& fileName)
    {
        QTest::mouseClick(window->CmdFile(), Qt::LeftButton);
        WorkbookChooser* chooser = WindowHarness::find<WorkbookChooser>(u"FSelect"_s);
        QVERIFY(chooser);
        QVERIFY(chooser->Dir1()->setPath(m_dir.path()));
        clickItem(chooser->File1(), fileName);
        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
    }

    void pressBack(ImportWindow* window) { QTest::mouseClick(window->CmdExit(), Qt::LeftButton); }

    // Presses the import button, or Enter in the path box, and waits until the run has been
    // handled to its end.
    static void importAndWait(ImportWindow* window, bool byEnter = false)
    {
        QSignalSpy finished(window, &ImportWindow::importFinished);
        if (byEnter) {
            QTest::keyClick(window->TxtFile(), Qt::Key_Return);
        } else {
            QTest::mouseClick(window->CmdOK(), Qt::LeftButton);
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const struct
        {
            QString name;
            QString sheets;
        } books[] = {
            {u"good.xls"_s, validSheets()},
            {u"notnumeric.xls"_s, uR"([('商品マスタ', [['○','S1','','','','','P1','','x','']]),
                                     ('在庫マスタ', [['○','P1','n','u','',5,0,'']])])"_s},
            {u"noproducts.xls"_s, uR"([('在庫マスタ', [['○','P1','n','u','',5,0,'']])])"_s},
            {u"narrow.xls"_s, uR"([('在庫マスタ', [['○','P1','n','u','',5,0,'']]),
                                 ('商品マスタ', [['○','S1','','','','','P1','',1]])])"_s},
        };
        for (const auto& b : books) {
            QString error;
            QVERIFY2(writeWorkbook(book(b.name), b.sheets, &error), qPrintable(error));
        }
        QFile text(book(u"broken.xls"_s));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a workbook");
        // A damaged workbook that once imported the wrong rows.
        const QString damaged = u"row-length-two-bytes-long.xls"_s;
        QVERIFY(QFile::copy(QStringLiteral(SETZAIKO_TEST_DATA) + u"/xls/regressions/"_s + damaged,
                            book(damaged)));
    }

    void startUpAndOpening()
    {
        WindowHarness app;
        QCOMPARE(app.mainMenu->windowTitle(), u"セット商品在庫照会"_s);
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, false, true}));
        QCOMPARE(app.mainMenu->directory(), QString());

        ImportWindow* window = openImportWindow(app);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"商 品 ・ 在 庫 デ ー タ 抽 出"_s);
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{false, false, false}));
        QCOMPARE(buttonsOf(window), (Buttons{true, false, true}));
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(static_cast<int>(window->importStatus()), 0);

        // It opens on 参照; Tab goes the way the eye does: the path box, 参照, import, back.
        QCOMPARE(window->focusWidget(), window->CmdFile());
        window->setButtonsEnabled(true, true, true);
        QWidgetList stops{window->TxtFile()};
        for (QWidget* next = stops.back()->nextInFocusChain(); next != stops.front();
             next = next->nextInFocusChain()) {
            if (next->focusPolicy() & Qt::TabFocus) {
                stops << next;
            }
        }
        QCOMPARE(stops, (QWidgetList{window->TxtFile(), window->CmdFile(), window->CmdOK(),
                                     window->CmdExit()}));
    }

    void typicalRoad()
    {
        WindowHarness app;
        ImportWindow* window = openImportWindow(app);

        QTest::mouseClick(window->CmdFile(), Qt::LeftButton);
        QCOMPARE(buttonsOf(window), (Buttons{false, false, false}));
        WorkbookChooser* chooser = WindowHarness::find<WorkbookChooser>(u"FSelect"_s);
        QVERIFY(chooser);
        QVERIFY(chooser->Dir1()->setPath(m_dir.path()));
        clickItem(chooser->File1(), u"good.xls"_s);
        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);

        QCOMPARE(window->TxtFile()->text(), book(u"good.xls"_s));
        QCOMPARE(window->directory(), m_dir.path() + u'/');
        QCOMPARE(window->fileName(), u"good.xls"_s);
        QCOMPARE(window->worksheets(), QString());
        QCOMPARE(window->LblMsg()->text(), pressImport);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(window->focusWidget(), window->CmdOK());

        // The box appears with the buttons already enabled and before the message line is set.
        QString lineAtBox;
        Buttons buttonsAtBox{};
        QString totalAtBox;
        app.prompter.onBox = [&](const QString&) {
            lineAtBox = window->LblMsg()->text();
            buttonsAtBox = buttonsOf(window);
            totalAtBox = window->LblTcnt()->text();
        };
        importAndWait(window);
        QCOMPARE(app.prompter.events, QStringList{u"box:合計 5 件のデータを抽出しました"_s});
        QCOMPARE(lineAtBox, importing);
        QCOMPARE(buttonsAtBox, (Buttons{true, true, true}));
        QCOMPARE(totalAtBox, u"5"_s);
        QCOMPARE(window->LblMsg()->text(), success);
        QCOMPARE(window->LblOcnt1()->text(), u"2"_s);
        QCOMPARE(window->LblOcnt2()->text(), u"3"_s);
        QCOMPARE(static_cast<int>(window->importStatus()), 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(window->focusWidget(), window->CmdExit());

        // What a screen reader meets: the counts say what they count.
        const QStringList mismatches = spokenMismatches(
            window, {{u"Frm0010F"_s, QAccessible::Window, u"商品・在庫データ抽出"_s},
                     {u"TxtFile"_s, QAccessible::EditableText,
                      u"商品・在庫情報のＥＸＣＥＬファイルを選択する"_s},
                     {u"CmdFile"_s, QAccessible::PushButton, u"参照"_s},
                     {u"CmdOK"_s, QAccessible::PushButton, u"EXCELデータ取込"_s},
                     {u"LblOcnt1"_s, QAccessible::StaticText, u"商品マスタ取込件数 2"_s},
                     {u"LblOcnt2"_s, QAccessible::StaticText, u"在庫マスタ取込件数 3"_s},
                     {u"LblTcnt"_s, QAccessible::StaticText, u"総件数 5"_s}});
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
        const QStringList faults = accessibilityFaults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

        pressBack(window);
        QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, true, true}));
        QCOMPARE(app.mainMenu->directory(), m_dir.path() + u'/');
        QCOMPARE(app.context.book()->products().count(), 2);
    }

    void importOutcomes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("line");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("productCount");
        QTest::addColumn<bool>("zaikoAfterBack");
        // The first line of each box's details: the cause, behind the details button.
        QTest::addColumn<QStringList>("causes");
        // The rows of the book the application holds afterwards: what the run left.
        QTest::addColumn<int>("products");
        QTest::addColumn<int>("stocks");
        // Where the focus is after the box: 参照, or 戻る where 参照 is disabled.
        QTest::addColumn<bool>("focusOnBack");

        QTest::newRow("not numeric")
            << u"notnumeric.xls"_s << QStringList()
            << u"取込エラー：在庫数に数字以外の項目が存在します。"_s << Buttons{true, false, true}
            << 2 << u"1"_s << false << QStringList() << 1 << 1 << false;
        QTest::newRow("zero rows") << u"noproducts.xls"_s << QStringList()
                                   << u"商品マスタが0件です。EXCELファイルを確認してください。"_s
                                   << Buttons{true, false, true} << 3 << u"0"_s << false
                                   << QStringList() << 0 << 1 << false;
        QTest::newRow("not a workbook")
            << u"broken.xls"_s << QStringList{u"beep"_s, u"box:"_s + failed} << failed
            << Buttons{false, false, true} << 9 << QString() << false
            << QStringList{u"Excel のブック（.xls・.xlsx・.xlsm）ではありません。"_s} << 0 << 0
            << true;
        QTest::newRow("record length that shifts the records after it")
            << u"row-length-two-bytes-long.xls"_s << QStringList{u"beep"_s, u"box:"_s + failed}
            << failed << Buttons{false, false, true} << 9 << QString() << false
            << QStringList{u"ブックが壊れています。"_s} << 0 << 0 << true;
        QTest::newRow("missing column")
            << u"narrow.xls"_s << QStringList{u"beep"_s, u"box:"_s + failed} << failed
            << Buttons{false, false, true} << 9 << u"0"_s << false
            << QStringList{u"マスタのシートに必要な列がありません。"_s} << 0 << 1 << true;
    }

    void importOutcomes()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, events);
        QFETCH(QString, line);
        QFETCH(Buttons, buttons);
        QFETCH(int, status);
        QFETCH(QString, productCount);
        QFETCH(bool, zaikoAfterBack);
        QFETCH(QStringList, causes);
        QFETCH(int, products);
        QFETCH(int, stocks);
        QFETCH(bool, focusOnBack);

        WindowHarness app;
        // Rows of an earlier import, which every outcome replaces.
        app.append(compositionRow(u"S0"_s, u"P0"_s, 1));
        app.append(stockRow(u"P0"_s, 1));
        ImportWindow* window = openImportWindow(app);
        choose(window, file);
        importAndWait(window, true);
        QCOMPARE(app.context.book()->products().count(), products);
        QCOMPARE(app.context.book()->stocks().count(), stocks);
        QCOMPARE(static_cast<int>(app.context.book()->status()), status);

        QCOMPARE(app.prompter.events, events);
        QStringList shownCauses;
        for (const QString& details : app.prompter.details) {
            shownCauses << details.section(u'\n', 0, 0);
        }
        QCOMPARE(shownCauses, causes);
        QCOMPARE(window->LblMsg()->text(), line);
        QCOMPARE(buttonsOf(window), buttons);
        QCOMPARE(static_cast<int>(window->importStatus()), status);
        QCOMPARE(window->LblOcnt1()->text(), productCount);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(window->focusWidget(), focusOnBack ? window->CmdExit() : window->CmdFile());

        // No question: an import was attempted.
        pressBack(window);
        QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, zaikoAfterBack, true}));
        QCOMPARE(app.prompter.events, events);
    }

    // The run reads on a worker: the window handles its events meanwhile, its buttons off and
    // its close refused, the counts rising; the tables are replaced only at the end.
    void importRunsWhileTheWindowHandlesItsEvents()
    {
        std::vector<std::vector<CellValue>> productRows;
        for (int i = 0; i < 6; ++i) {
            productRows.push_back({text(i == 0 ? u"○"_s : QString()), text(u"S%1"_s.arg(i)),
                                   empty(), empty(), empty(), empty(), text(u"P0"_s), empty(),
                                   number(1), empty()});
        }
        const std::vector<MemoryTable> tables{{u"商品マスタ"_s, 10, productRows},
                                              {u"在庫マスタ"_s,
                                               8,
                                               {{text(u"○"_s), text(u"P0"_s), empty(), empty(),
                                                 empty(), number(5), empty(), empty()}}}};
        const auto log = std::make_shared<MemoryWorkbookLog>();
        log->pauseBefore(u"商品マスタ"_s, 2);
        log->pauseBefore(u"商品マスタ"_s, 4);
        WindowHarness app([&] {
            auto opener = std::make_unique<MemoryWorkbookOpener>(tables);
            opener->log = log;
            return opener;
        });
        ImportWindow* window = openImportWindow(app);
        window->TxtFile()->setText(u"book.xls"_s);
        window->setButtonsEnabled(true, true, true);
        QSignalSpy finished(window, &ImportWindow::importFinished);
        app.append(stockRow(u"P9"_s, 1));
        const std::weak_ptr<const ImportedBook> earlier = app.context.book();

        QTest::mouseClick(window->CmdOK(), Qt::LeftButton);
        QTRY_VERIFY(log->paused());
        QVERIFY(earlier.expired()); // the tables were emptied as the run started
        QCOMPARE(buttonsOf(window), (Buttons{false, false, false}));
        QCOMPARE(window->LblMsg()->text(), importing);
        QVERIFY(QApplication::overrideCursor());
        window->close();
        QVERIFY(window->isVisible());
        QTest::qWait(40); // the next count is due as soon as the run goes on
        log->resume();
        QTRY_COMPARE(window->LblOcnt1()->text(), u"3"_s);
        QTRY_VERIFY(log->paused());
        QCOMPARE(buttonsOf(window), (Buttons{false, false, false}));
        QCOMPARE(app.context.book()->products().count(), 0);
        QCOMPARE(finished.count(), 0);

        log->resume();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(window->LblOcnt1()->text(), u"6"_s);
        QCOMPARE(window->LblTcnt()->text(), u"7"_s);
        QCOMPARE(app.context.book()->products().count(), 6);
        QCOMPARE(app.prompter.events, QStringList{u"box:合計 7 件のデータを抽出しました"_s});
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void blankPathIsRefusedAndChangesNothing()
    {
        WindowHarness app;
        ImportWindow* window = openImportWindow(app);
        choose(window, u"good.xls"_s);
        importAndWait(window);
        app.prompter.events.clear();
        const std::shared_ptr<const ImportedBook> imported = app.context.book();

        window->TxtFile()->clear();
        QTest::keyClicks(window->TxtFile(), u"   "_s);
        QTest::mouseClick(window->CmdOK(), Qt::LeftButton);
        QCOMPARE(app.prompter.events,
                 (QStringList{u"beep"_s, u"box:ファイルを選択してください"_s}));
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(static_cast<int>(window->importStatus()), 0);
        QCOMPARE(window->LblTcnt()->text(), u"5"_s);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(app.context.book(), imported);
        QCOMPARE(window->focusWidget(), window->CmdFile());
    }

    void leavingWithoutImportAsksFirst()
    {
        WindowHarness app;
        ImportWindow* window = openImportWindow(app);
        choose(window, u"good.xls"_s);

        app.prompter.answers = {false};
        pressBack(window);
        QCOMPARE(app.prompter.events, QStringList{leaveQuestion});
        QCOMPARE(WindowHarness::find<ImportWindow>(u"Frm0010F"_s), window);
        QCOMPARE(window->TxtFile()->text(), book(u"good.xls"_s));
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        // The close box and Esc are 戻る: they ask too.
        app.prompter.answers = {false};
        requestClose(window);
        QCOMPARE(app.prompter.events, (QStringList{leaveQuestion, leaveQuestion}));
        QVERIFY(window->isVisible());

        app.mainMenu->setDirectory(u"/old/"_s);
        app.prompter.answers = {true};
        requestClose(window, true);
        QCOMPARE(app.prompter.events.size(), 3);
        QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, false, true}));
        QCOMPARE(app.mainMenu->directory(), QString());
    }

    void leavingAtOnceOrAfterTheChoosersBackAsksNothing()
    {
        for (const bool throughChooser : {false, true}) {
            WindowHarness app;
            app.mainMenu->setDirectory(u"/old/"_s);
            ImportWindow* window = openImportWindow(app);
            if (throughChooser) {
                QTest::mouseClick(window->CmdFile(), Qt::LeftButton);
                WorkbookChooser* chooser = WindowHarness::find<WorkbookChooser>(u"FSelect"_s);
                QTest::mouseClick(chooser->CmdExit(), Qt::LeftButton);
                QCOMPARE(buttonsOf(window), (Buttons{true, false, true}));
            }
            pressBack(window);
            QVERIFY(app.prompter.events.isEmpty());
            QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));
            QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, false, true}));
            QCOMPARE(app.mainMenu->directory(), QString());
        }
    }

    void reopeningKeepsTheTablesButNotTheDirectory()
    {
        for (const QString& file : {u"good.xls"_s, u"notnumeric.xls"_s}) {
            WindowHarness app;
            ImportWindow* window = openImportWindow(app);
            choose(window, file);
            importAndWait(window);
            pressBack(window);

            window = openImportWindow(app);
            QCOMPARE(window->TxtFile()->text(), QString());
            QCOMPARE(window->LblTcnt()->text(), QString());
            QCOMPARE(static_cast<int>(window->importStatus()), 0);
            pressBack(window);
            // The rows of the earlier import are still there, so the inquiry opens on them.
            QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, true, true}));
            QCOMPARE(app.mainMenu->directory(), QString());
        }
    }

    void typedPathNeverImportedKeepsTheInquiryOff()
    {
        WindowHarness app;
        ImportWindow* window = openImportWindow(app);
        QTest::keyClicks(window->TxtFile(), book(u"good.xls"_s));
        // Enter imports nothing while the import button is disabled.
        QTest::keyClick(window->TxtFile(), Qt::Key_Return);
        QCOMPARE(window->LblMsg()->text(), QString());
        pressBack(window);
        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, false, true}));
    }

    // The close box and Esc do what 戻る does, and nothing while it is disabled.
    void closeBoxAndEscAreTheBackButton()
    {
        for (const bool byEscape : {false, true}) {
            WindowHarness app;
            ImportWindow* window = openImportWindow(app);
            choose(window, u"broken.xls"_s);
            importAndWait(window);
            QCOMPARE(buttonsOf(window), (Buttons{false, false, true}));
            window->CmdExit()->setEnabled(false);
            requestClose(window, byEscape);
            QCOMPARE(WindowHarness::find<ImportWindow>(u"Frm0010F"_s), window);
            window->CmdExit()->setEnabled(true);
            requestClose(window, byEscape);
            QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));
            QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, false, true}));
        }
    }

    // The main menu stays while the import window is open, its close box refused as its 終了 is.
    void mainMenuCannotBeClosedUnderTheImport()
    {
        WindowHarness app;
        ImportWindow* window = openImportWindow(app);
        requestClose(app.mainMenu);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu && app.mainMenu->isVisible());
        choose(window, u"good.xls"_s);
        importAndWait(window);
        pressBack(window);
        QVERIFY(!WindowHarness::find<ImportWindow>(u"Frm0010F"_s));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, true, true}));
        requestClose(app.mainMenu);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu.isNull());
    }
};

QTEST_MAIN(TestImportWindow)
#include "tst_ImportWindow.moc"
