#include "gui/CombinedOrderWindow.h"
#include "gui/InquiryWindow.h"
#include "import/ImportRun.h"
#include "support/AccessibleTree.h"
#include "support/TestWorkbooks.h"
#include "support/WindowHarness.h"
#include "ui/FlexGrid.h"
#include "workbook/WorkbookFileOpener.h"

#include <QDir>
#include <QFile>
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

// Two gift sets share the ham: 10 of G01 need 10, 8 of G02 need 16 of its 25. Each is met
// alone; together they fall 1 short. G03 lists a component the stock master lacks.
const QString giftSheets = uR"([
    ('商品マスタ', [
        ['見出し'],
        ['○', 'G01', 'a', 'b', 'c', 'd', 'HAM', 'e', 1, 'f'],
        [None, 'G01', 'a', 'b', 'c', 'd', 'BOX', 'e', 1, 'f'],
        [None, 'G02', 'a', 'b', 'c', 'd', 'HAM', 'e', 2, 'f'],
        [None, 'G02', 'a', 'b', 'c', 'd', 'SAU', 'e', 1, 'f'],
        [None, 'G03', 'a', 'b', 'c', 'd', 'BOX', 'e', 1, 'f'],
        [None, 'G03', 'a', 'b', 'c', 'd', 'NONE', 'e', 1, 'f']]),
    ('在庫マスタ', [
        ['○', 'G01', 'ハムギフト', '箱', '1', 0, 0, ''],
        [None, 'G02', 'ハム・ソーセージ詰合せ', '箱', '1', 0, 0, ''],
        [None, 'G03', '未登録ギフト', '箱', '1', 0, 0, ''],
        [None, 'HAM', 'ロースハム', '本', '', 25, 0, ''],
        [None, 'BOX', '化粧箱', '枚', '', 50, 0, ''],
        [None, 'SAU', 'ソーセージ', '袋', '', 40, 0, '']])])"_s;

QStringList rowOf(const FlexGrid* grid, int row)
{
    QStringList texts;
    for (int column = 0; column < grid->columns(); ++column) {
        texts << grid->text(row, column);
    }
    return texts;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestCombinedOrderWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_book;

    // The inquiry window over the imported gift sets, searched, and its combined order.
    struct Road
    {
        WindowHarness app;
        InquiryWindow* inquiry = nullptr;
        CombinedOrderWindow* combined = nullptr;
    };

    void open(Road& road, const QString& directory)
    {
        WorkbookFileOpener opener;
        const ImportResult imported = runImport(m_book, opener);
        QCOMPARE(imported.outcome, ImportResult::Outcome::Success);
        road.app.context.setBook(imported.book);
        road.inquiry = new InquiryWindow(road.app.context, directory);
        road.inquiry->show();
        QVERIFY(QTest::qWaitForWindowExposed(road.inquiry));
        QTest::mouseClick(road.inquiry->CmdSearch(), Qt::LeftButton);
        QTest::mouseClick(road.inquiry->CmdMatome(), Qt::LeftButton);
        road.combined = WindowHarness::find<CombinedOrderWindow>(u"Frm0040F"_s);
        QVERIFY(road.combined);
    }

    // Highlights the inquiry row and adds it with the quantity.
    static void add(Road& road, int inquiryRow, const QString& quantity)
    {
        road.inquiry->MSFlexGrid1()->setCurrent(inquiryRow, 1);
        road.combined->TxtJsuryo()->setText(quantity);
        QTest::mouseClick(road.combined->CmdAdd(), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_book = m_dir.filePath(u"gift.xls"_s);
        QString error;
        QVERIFY2(writeWorkbook(m_book, giftSheets, &error), qPrintable(error));
    }

    // The gift sets from the inquiry to the file, which is the command line's byte for byte.
    void giftSetsFallShortTogetherAndTheFileIsThePlanCommands()
    {
        QTemporaryDir out;
        Road road;
        open(road, out.path() + QDir::separator());
        CombinedOrderWindow* window = road.combined;
        QVERIFY(!road.inquiry->CmdExit()->isEnabled());
        QVERIFY(!road.inquiry->CmdMatome()->isEnabled());
        QVERIFY(road.inquiry->CmdSearch()->isEnabled());
        QVERIFY(!window->CmdCsvout()->isEnabled());

        add(road, 1, u"10"_s);
        QCOMPARE(window->LblMsg()->text(), QString());
        add(road, 2, u"8"_s);
        FlexGrid* sets = window->SetGrid();
        QCOMPARE(rowOf(sets, 1), (QStringList{u"1"_s, u"G01"_s, u"ハムギフト"_s, u"0"_s, u"10"_s,
                                              u"10"_s, u"可"_s, u"不足"_s}));
        QCOMPARE(rowOf(sets, 2), (QStringList{u"2"_s, u"G02"_s, u"ハム・ソーセージ詰合せ"_s, u"0"_s,
                                              u"8"_s, u"8"_s, u"可"_s, u"不足"_s}));
        QCOMPARE(sets->textColour(2, 7), QColor(255, 0, 0));
        QCOMPARE(sets->backgroundColour(2, 7), QColor(255, 255, 0));
        FlexGrid* parts = window->ComponentGrid();
        QCOMPARE(rowOf(parts, 1), (QStringList{u"1"_s, u"ロースハム"_s, u"HAM"_s, u"25"_s, u"本"_s,
                                               u"26"_s, u"25"_s, u"-1"_s}));
        QCOMPARE(parts->textColour(1, 7), QColor(255, 0, 0));
        QCOMPARE(parts->backgroundColour(1, 7), QColor(255, 255, 0));
        QCOMPARE(parts->textColour(2, 7), QColor(0, 0, 0));
        QCOMPARE(parts->backgroundColour(2, 7), QColor(255, 255, 255));
        QCOMPARE(window->LblMsg()->text(),
                 u"単独では出荷できても、まとめると不足するセット商品があります。"_s);

        road.app.prompter.events.clear();
        QTest::mouseClick(window->CmdCsvout(), Qt::LeftButton);
        QCOMPARE(road.app.prompter.events, QStringList{u"box:3 件のデータを出力しました"_s});
        const QStringList files = QDir(out.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files.front().startsWith(u"まとめ_"_s));
        const QString stamp = files.front().mid(4, 12);

        QTemporaryDir cliOut;
        QProcess cli;
        cli.start(QString::fromUtf8(SETZAIKO_CLI),
                  {u"plan"_s, m_book, u"G01=10"_s, u"G02=8"_s, u"--export"_s, cliOut.path(),
                   u"--time"_s, stamp});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray windowFile = contents(out.filePath(files.front()));
        QCOMPARE(contents(cliOut.filePath(files.front())), windowFile);
        QVERIFY(windowFile.contains(QByteArray("HAM,")));
    }

    void listChangesAndRefusals()
    {
        QTemporaryDir out;
        Road road;
        open(road, out.path() + QDir::separator());
        CombinedOrderWindow* window = road.combined;
        FakePrompter& prompter = road.app.prompter;

        add(road, 1, u"0"_s);
        add(road, 3, u"1"_s);
        add(road, 4, u"1"_s); // below the list: no set product highlighted
        QCOMPARE(prompter.events,
                 (QStringList{u"box:ZEROは入力できません"_s,
                              u"box:在庫マスタに無い構成部品が存在します。確認してください。"_s,
                              u"box:追加するセット商品を在庫照会の一覧で選んでください"_s}));
        QCOMPARE(window->SetGrid()->text(1, 1), QString());
        QVERIFY(!window->CmdChange()->isEnabled());

        // The same set twice adds up; a quantity changed and a row removed are planned afresh.
        add(road, 2, u"5"_s);
        add(road, 1, u"3"_s);
        add(road, 2, u"３"_s);
        QCOMPARE(window->SetGrid()->text(1, 4), u"8"_s);
        QCOMPARE(window->ComponentGrid()->text(1, 5), u"19"_s);
        window->SetGrid()->setCurrent(2, 1);
        window->TxtJsuryo()->setText(u"20"_s);
        QTest::mouseClick(window->CmdChange(), Qt::LeftButton);
        QCOMPARE(window->SetGrid()->text(2, 4), u"20"_s);
        QCOMPARE(window->ComponentGrid()->text(1, 7), u"-11"_s);
        window->SetGrid()->setCurrent(1, 1);
        QTest::mouseClick(window->CmdDelete(), Qt::LeftButton);
        QCOMPARE(rowOf(window->SetGrid(), 1).mid(1, 2), (QStringList{u"G01"_s, u"ハムギフト"_s}));
        QCOMPARE(window->SetGrid()->text(2, 1), QString());
        QCOMPARE(window->ComponentGrid()->text(1, 7), u"0"_s);
        QCOMPARE(window->LblMsg()->text(), QString());

        // A file into a folder that is gone: the failure box with its cause, nothing written.
        prompter.events.clear();
        QVERIFY(out.remove());
        QTest::mouseClick(window->CmdCsvout(), Qt::LeftButton);
        QCOMPARE(prompter.events, (QStringList{u"beep"_s, u"box:エラーが発生しました E0220"_s}));
        QVERIFY(prompter.details.last().startsWith(u"出力先のフォルダーがありません。"_s));
        QVERIFY(window->CmdCsvout()->isEnabled());
    }

    void keyboardCloseBoxAndNames()
    {
        Road road;
        open(road, {});
        CombinedOrderWindow* window = road.combined;
        QCOMPARE(window->windowTitle(), u"受 注 ま と め 照 会"_s);
        QCOMPARE(window->focusWidget(), window->TxtJsuryo());
        add(road, 1, u"1"_s);
        const QList<QWidget*> order = {
            window->SetGrid(),   window->TxtJsuryo(),     window->CmdAdd(),    window->CmdChange(),
            window->CmdDelete(), window->ComponentGrid(), window->CmdCsvout(), window->CmdExit()};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QWidget* next = order[i]->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus)) {
                next = next->nextInFocusChain();
            }
            QCOMPARE(next, order[i + 1]);
        }
        const QStringList mismatches = spokenMismatches(
            window, {
                        {u"Frm0040F"_s, QAccessible::Window, u"受注まとめ照会"_s},
                        {u"MSFlexGrid1"_s, QAccessible::Table, u"受注セット商品一覧"_s},
                        {u"TxtJsuryo"_s, QAccessible::EditableText, u"受注予定数"_s},
                        {u"MSFlexGrid2"_s, QAccessible::Table, u"構成商品必要数一覧"_s},
                        {u"CmdCsvout"_s, QAccessible::PushButton, u"CSV出力"_s},
                    });
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
        const QStringList faults = accessibilityFaults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

        // Enter on a focused button presses it.
        window->TxtJsuryo()->setText(u"2"_s);
        window->CmdAdd()->setFocus();
        QTest::keyClick(window->CmdAdd(), Qt::Key_Return);
        QCOMPARE(window->SetGrid()->text(1, 4), u"3"_s);
        // So does Enter in the quantity, for 追加.
        window->TxtJsuryo()->setText(u"4"_s);
        QTest::keyClick(window->TxtJsuryo(), Qt::Key_Return);
        QCOMPARE(window->SetGrid()->text(1, 4), u"7"_s);

        // The close box is 戻る: the window closes, the inquiry is whole again and the focus
        // is back on the button that opened it.
        window->close();
        QTRY_VERIFY(!WindowHarness::find<CombinedOrderWindow>(u"Frm0040F"_s));
        QVERIFY(road.inquiry->CmdExit()->isEnabled());
        QVERIFY(road.inquiry->CmdMatome()->isEnabled());
        QCOMPARE(road.inquiry->focusWidget(), road.inquiry->CmdMatome());

        // So is Esc.
        QTest::mouseClick(road.inquiry->CmdMatome(), Qt::LeftButton);
        window = WindowHarness::find<CombinedOrderWindow>(u"Frm0040F"_s);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->TxtJsuryo(), Qt::Key_Escape);
        QTRY_VERIFY(!WindowHarness::find<CombinedOrderWindow>(u"Frm0040F"_s));
        QVERIFY(road.inquiry->CmdExit()->isEnabled());
    }
};

QTEST_MAIN(TestCombinedOrderWindow)
#include "tst_CombinedOrderWindow.moc"
