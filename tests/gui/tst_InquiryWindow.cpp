#include "common/NumberFormat.h"
#include "gui/InquiryWindow.h"
#include "gui/SetStockWindow.h"
#include "support/AccessibleTree.h"
#include "support/ButtonStates.h"
#include "support/GridRows.h"
#include "support/MasterRows.h"
#include "support/WindowHarness.h"
#include "ui/FlexGrid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

const QString limitLine =
    u"表示行数が100件を超えました。商品コード、商品名で絞込みを行ってください。"_s;

Buttons buttonsOf(const InquiryWindow* window)
{
    return {window->CmdSearch()->isEnabled(), window->CmdZshosai()->isEnabled(),
            window->CmdExit()->isEnabled()};
}

// The set product 在庫詳細 hands on, as the list showed it: name, code, stock, unit; four
// empty texts for a blank row.
QStringList selectionOf(const InquiryWindow* window)
{
    const std::optional<SetProduct>& chosen = window->chosenSetProduct();
    if (!chosen) {
        return QStringList(4, QString());
    }
    return {chosen->name, chosen->code, formatNumber(chosen->stock, formats::grouped9),
            chosen->unit};
}

// Three set products among rows that only look like set products.
// A way of moving the grid's current cell, from row 1 column 1 after a search; a double click
// opens the row too.
enum class Gesture { Keys, Drag, RowHeading, Click, DoubleClick };

void fillStocks(WindowHarness& app)
{
    app.append(stockRow(u"S001"_s, 1234, u"セットA"_s, u"1"_s, u"個"_s, u"春物"_s));
    app.append(stockRow(u"P01"_s, 5, u"部品A"_s, u"0"_s, u"個"_s));
    app.append(stockRow(u"S002"_s, 0, u"セットB"_s, u"1"_s, u"箱"_s));
    app.append(stockRow(u"S009"_s, 7, u"セットC"_s, u" 1"_s, u"組"_s));
    app.append(stockRow(u"S010"_s, 7, u"セットD"_s, u"１"_s, u"組"_s));
    app.append(stockRow(u"T_1%"_s, -1200, u"Bセット*"_s, u"1"_s, u"組"_s, u"r"_s));
}

InquiryWindow* openInquiry(WindowHarness& app)
{
    app.mainMenu->setButtonsEnabled(true, true, true);
    QTest::mouseClick(app.mainMenu->CmdZaiko(), Qt::LeftButton);
    auto* window = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
    // Cell rectangles are known once the grid has been laid out on screen.
    if (window && !QTest::qWaitForWindowExposed(window)) {
        return nullptr;
    }
    return window;
}

void search(InquiryWindow* window, const QString& code = {}, const QString& name = {})
{
    window->TxtScode()->setText(code);
    window->TxtSname()->setText(name);
    QTest::mouseClick(window->CmdSearch(), Qt::LeftButton);
}

// A click on the visible part of a data cell, scrolled into view first.
void clickCell(FlexGrid* grid, int row, int column)
{
    grid->scrollTo(grid->model()->index(row - 1, column - 1));
    const QRect cell = grid->cellRect(row, column).intersected(grid->viewport()->rect());
    QVERIFY(!cell.isEmpty());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// The column width in pixels as the grid shows it; column 0 is the fixed column.
int columnWidth(const FlexGrid* grid, int column)
{
    return column == 0 ? grid->verticalHeader()->width() : grid->columnWidth(column - 1);
}

// The next control that the tab key reaches.
QWidget* nextTabStop(QWidget* widget)
{
    QWidget* next = widget->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus)) {
        next = next->nextInFocusChain();
    }
    return next;
}

} // namespace

Q_DECLARE_METATYPE(Gesture)

class TestInquiryWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensEmpty()
    {
        WindowHarness app;
        fillStocks(app);
        app.mainMenu->setDirectory(u"/data/books/"_s);
        InquiryWindow* window = openInquiry(app);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"セ ッ ト 商 品 在 庫 照 会"_s);
        QCOMPARE(window->size(), QSize(865, 436)); // 12975 x 6540 twips
        QCOMPARE(window->directory(), u"/data/books/"_s);
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{false, false, false}));
        QCOMPARE(buttonsOf(window), (Buttons{true, false, true}));

        QCOMPARE(window->CmdSearch()->text(), u"検\u3000索"_s);
        QCOMPARE(window->CmdZshosai()->text(), u"在\u3000庫\u3000詳\u3000細"_s);
        QCOMPARE(window->CmdExit()->text(), u"戻る"_s);
        const struct
        {
            QString name;
            QString text;
        } captions[] = {
            {u"Label4"_s, u"商品コード"_s},
            {u"Label2"_s, u"商品名"_s},
            {u"Label3"_s,
             u"文字検索可。上記商品コード、商品名が未入力の場合、全件表示(MAX100件)になります。"_s},
            {u"Label1"_s, u"セット商品在庫一覧"_s},
            {u"LblMsg"_s, QString()},
        };
        for (const auto& caption : captions) {
            const auto* label = window->findChild<QLabel*>(caption.name);
            QVERIFY2(label, qPrintable(caption.name));
            QCOMPARE(label->text(), caption.text);
        }
        QCOMPARE(window->TxtScode()->text(), QString());
        QCOMPARE(window->TxtSname()->text(), QString());
        QCOMPARE(window->chosenSetProduct(), std::nullopt);

        FlexGrid* grid = window->MSFlexGrid1();
        QCOMPARE(grid->rows(), 101);
        QCOMPARE(grid->columns(), 7);
        QCOMPARE(rowOf(grid, 0), (QStringList{u"No."_s, u"商品名"_s, u"商品コード"_s, u"在庫数"_s,
                                              u"単位"_s, u"備考"_s, u"\u3000\u3000"_s}));
        // 500, 4300, 2300, 1100, 800, 3250 and 1000 twips.
        const int widths[] = {33, 287, 153, 73, 53, 217, 67};
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(columnWidth(grid, column), widths[column]);
        }
        QCOMPARE(grid->horizontalHeader()->height(), 23); // 350 twips
        QCOMPARE(rowOf(grid, 1), QStringList(7, QString()));
        QCOMPARE(rowOf(grid, 100), QStringList(7, QString()));
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->col(), 1);

        QCOMPARE(window->focusWidget(), window->TxtScode());
        window->CmdZshosai()->setEnabled(true);
        QCOMPARE(nextTabStop(window->TxtScode()), window->TxtSname());
        QCOMPARE(nextTabStop(window->TxtSname()), window->CmdSearch());
        QCOMPARE(nextTabStop(window->CmdSearch()), grid);
        QCOMPARE(nextTabStop(grid), window->CmdZshosai());
        QCOMPARE(nextTabStop(window->CmdZshosai()), window->CmdMatome());
        QCOMPARE(nextTabStop(window->CmdMatome()), window->CmdExit());
    }

    void searchAllListsTheSetProductsInTableOrder()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        FlexGrid* grid = window->MSFlexGrid1();
        search(window);

        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(rowOf(grid, 1), (QStringList{u"1"_s, u"セットA"_s, u"S001"_s, u"1,234"_s, u"個"_s,
                                              u"春物"_s, QString()}));
        QCOMPARE(rowOf(grid, 2), (QStringList{u"2"_s, u"セットB"_s, u"S002"_s, u"0"_s, u"箱"_s,
                                              QString(), QString()}));
        QCOMPARE(rowOf(grid, 3), (QStringList{u"3"_s, u"Bセット*"_s, u"T_1%"_s, u"-1,200"_s,
                                              u"組"_s, u"r"_s, QString()}));
        QCOMPARE(rowOf(grid, 4), QStringList(7, QString()));
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(selectionOf(window), (QStringList{u"セットA"_s, u"S001"_s, u"1,234"_s, u"個"_s}));
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void filteredSearch_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codes");

        QTest::newRow("code in the middle")
            << u"00"_s << QString() << QStringList{u"S001"_s, u"S002"_s};
        QTest::newRow("name") << QString() << u"セット"_s
                              << QStringList{u"S001"_s, u"S002"_s, u"T_1%"_s};
        QTest::newRow("both must match") << u"S"_s << u"B"_s << QStringList{u"S002"_s};
    }

    void filteredSearch()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QStringList, codes);

        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        search(window, code, name);
        QCOMPARE(listedCodes(window->MSFlexGrid1()), codes);
        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(window->chosenSetProduct().value_or(SetProduct()).code, codes.value(0));

        // Enter in either box searches as 検索 does.
        for (QLineEdit* box : {window->TxtScode(), window->TxtSname()}) {
            search(window, u"S"_s);
            window->TxtScode()->setText(code);
            window->TxtSname()->setText(name);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(listedCodes(window->MSFlexGrid1()), codes);
        }
    }

    void listCapacity_data()
    {
        QTest::addColumn<int>("setProducts");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("box");

        QTest::newRow("100, all") << 100 << QString() << QString();
        QTest::newRow("101, all") << 101 << QString()
                                  << u"表示行数が100件を超えました。(100件まで表示) "_s;
        QTest::newRow("101, filtered")
            << 101 << u"K"_s << u"表示行数が100件を超えました(100件まで表示)"_s;
        QTest::newRow("101, spaces only are no filter")
            << 101 << u" \u3000 "_s << u"表示行数が100件を超えました。(100件まで表示) "_s;
    }

    void listCapacity()
    {
        QFETCH(int, setProducts);
        QFETCH(QString, code);
        QFETCH(QString, box);

        WindowHarness app;
        for (int i = 1; i <= setProducts; ++i) {
            const QString number = QString::number(i);
            app.append(stockRow(u"K"_s + number, i * 1000, u"セット"_s + number, u"1"_s, u"個"_s));
        }
        InquiryWindow* window = openInquiry(app);
        FlexGrid* grid = window->MSFlexGrid1();

        // The box comes while the first 100 rows are listed and the message line is still empty.
        QString lineAtBox = u"unset"_s;
        QString lastRowAtBox;
        app.prompter.onBox = [&](const QString&) {
            lineAtBox = window->LblMsg()->text();
            lastRowAtBox = grid->text(100, 2);
        };
        search(window, code);

        QCOMPARE(grid->text(100, 0), u"100"_s);
        QCOMPARE(grid->text(100, 2), u"K100"_s);
        QCOMPARE(grid->text(100, 3), u"100,000"_s);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(window->chosenSetProduct().value_or(SetProduct()).code, u"K1"_s);
        if (box.isEmpty()) {
            QVERIFY(app.prompter.events.isEmpty());
            QCOMPARE(window->LblMsg()->text(), QString());
            return;
        }
        QCOMPARE(app.prompter.events, QStringList{u"box:"_s + box});
        QCOMPARE(lineAtBox, QString());
        QCOMPARE(lastRowAtBox, u"K100"_s);
        QCOMPARE(window->LblMsg()->text(), limitLine);

        // The next search starts with an empty message line.
        app.prompter.onBox = nullptr;
        search(window, u"K7"_s);
        QCOMPARE(window->LblMsg()->text(), QString());
    }

    void nextSearchLeavesNoOldRows()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        FlexGrid* grid = window->MSFlexGrid1();
        search(window);
        grid->setTopRow(60);
        QCOMPARE(grid->topRow(), 60);

        search(window, u"S002"_s);
        QCOMPARE(listedCodes(grid), QStringList{u"S002"_s});
        QCOMPARE(rowOf(grid, 2), QStringList(7, QString()));
        QCOMPARE(rowOf(grid, 3), QStringList(7, QString()));
        QCOMPARE(grid->topRow(), 1);
        QCOMPARE(selectionOf(window), (QStringList{u"セットB"_s, u"S002"_s, u"0"_s, u"箱"_s}));
    }

    void emptyResultEmptiesTheSelectionButEnablesDetails()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        search(window);
        QCOMPARE(window->chosenSetProduct().value_or(SetProduct()).code, u"S001"_s);

        search(window, u"none"_s);
        QCOMPARE(rowOf(window->MSFlexGrid1(), 1), QStringList(7, QString()));
        QCOMPARE(selectionOf(window), QStringList(4, QString()));
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QVERIFY(app.prompter.events.isEmpty());

        // An empty selection is handed on as it is.
        QTest::mouseClick(window->CmdZshosai(), Qt::LeftButton);
        auto* details = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        QVERIFY(details);
        QCOMPARE(details->LblScode()->text(), QString());
        QCOMPARE(details->LblSname()->text(), QString());
        QCOMPARE(details->LblZaikosu()->text(), QString());
        QCOMPARE(details->LblKnousu()->text(), u"0"_s);
    }

    void noSetProductAtAll()
    {
        WindowHarness app;
        app.append(stockRow(u"P01"_s, 5, u"部品A"_s, u"0"_s, u"個"_s));
        InquiryWindow* window = openInquiry(app);
        search(window);
        QCOMPARE(rowOf(window->MSFlexGrid1(), 1), QStringList(7, QString()));
        QCOMPARE(selectionOf(window), QStringList(4, QString()));
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QVERIFY(app.prompter.events.isEmpty());
    }

    void gridClicks()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        FlexGrid* grid = window->MSFlexGrid1();
        search(window);
        const QStringList second{u"セットB"_s, u"S002"_s, u"0"_s, u"箱"_s};
        const QStringList third{u"Bセット*"_s, u"T_1%"_s, u"-1,200"_s, u"組"_s};

        for (int column = 1; column <= 5; ++column) {
            search(window);
            clickCell(grid, 2, column);
            QCOMPARE(selectionOf(window), second);
            QCOMPARE(grid->row(), 2);
            QCOMPARE(grid->col(), column);
        }

        // The empty last column selects nothing, and the current cell stays in the selected row.
        clickCell(grid, 3, 6);
        QCOMPARE(grid->col(), 6);
        QCOMPARE(grid->row(), 2);
        QCOMPARE(selectionOf(window), second);

        clickCell(grid, 3, 4);
        QCOMPARE(selectionOf(window), third);

        // A row below the list empties the selection, and the buttons stay as they are.
        clickCell(grid, 5, 1);
        QCOMPARE(selectionOf(window), QStringList(4, QString()));
        clickCell(grid, 100, 5);
        QCOMPARE(selectionOf(window), QStringList(4, QString()));
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QVERIFY(app.prompter.events.isEmpty());
    }

    // However the current cell moves, the row it ends in is the row 在庫詳細 opens, except
    // that the last column, holding no data, keeps the selection and its row. In the list, Enter
    // presses 在庫詳細; a double click opens the row under the pointer, whichever its column.
    void highlightedRowIsTheOneDetailsOpen_data()
    {
        QTest::addColumn<Gesture>("gesture");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QPoint>("cell"); // (column, row): a drag's end, a click, a heading's row
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("code");
        using K = QList<int>;
        QTest::newRow("down") << Gesture::Keys << K{Qt::Key_Down} << QPoint() << 2 << u"S002"_s;
        QTest::newRow("down, down, up")
            << Gesture::Keys << K{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << QPoint() << 2
            << u"S002"_s;
        QTest::newRow("right, down twice")
            << Gesture::Keys << K{Qt::Key_Right, Qt::Key_Down, Qt::Key_Down} << QPoint() << 3
            << u"T_1%"_s;
        QTest::newRow("below the list")
            << Gesture::Keys << K(4, Qt::Key_Down) << QPoint() << 5 << QString();
        QTest::newRow("page down")
            << Gesture::Keys << K{Qt::Key_PageDown} << QPoint() << -1 << QString();
        QTest::newRow("last column, down")
            << Gesture::Keys << K(5, Qt::Key_Right) + K{Qt::Key_Down} << QPoint() << 1 << u"S001"_s;
        QTest::newRow("press on row 1, release on row 3")
            << Gesture::Drag << K() << QPoint(4, 3) << 3 << u"T_1%"_s;
        QTest::newRow("press on row 1, release in the last column of row 2")
            << Gesture::Drag << K() << QPoint(6, 2) << 1 << u"S001"_s;
        QTest::newRow("No. of row 2")
            << Gesture::RowHeading << K() << QPoint(0, 2) << 2 << u"S002"_s;
        QTest::newRow("No. of a row below the list")
            << Gesture::RowHeading << K() << QPoint(0, 7) << 7 << QString();
        QTest::newRow("last column of row 3")
            << Gesture::Click << K() << QPoint(6, 3) << 1 << u"S001"_s;
        QTest::newRow("double click on row 2")
            << Gesture::DoubleClick << K() << QPoint(2, 2) << 2 << u"S002"_s;
        QTest::newRow("double click on the last column of row 3")
            << Gesture::DoubleClick << K() << QPoint(6, 3) << 3 << u"T_1%"_s;
        QTest::newRow("double click on No. of row 2")
            << Gesture::DoubleClick << K() << QPoint(0, 2) << 2 << u"S002"_s;
        QTest::newRow("double click below the list")
            << Gesture::DoubleClick << K() << QPoint(1, 6) << 6 << QString();
    }

    void highlightedRowIsTheOneDetailsOpen()
    {
        QFETCH(Gesture, gesture);
        QFETCH(QList<int>, keys);
        QFETCH(QPoint, cell);
        QFETCH(int, row);
        QFETCH(QString, code);
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        FlexGrid* grid = window->MSFlexGrid1();
        search(window);
        QCOMPARE(grid->row(), 1);
        switch (gesture) {
        case Gesture::Keys:
            for (int key : keys) {
                QTest::keyClick(grid, Qt::Key(key));
            }
            break;
        case Gesture::Drag: {
            const QPoint start = grid->cellRect(1, 1).center();
            const QPoint end = grid->cellRect(cell.y(), cell.x()).center();
            QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, start);
            QMouseEvent move(QEvent::MouseMove, end, grid->viewport()->mapToGlobal(end),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(grid->viewport(), &move);
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, end);
            break;
        }
        case Gesture::RowHeading: {
            QHeaderView* numbers = grid->verticalHeader();
            const int y = numbers->sectionViewportPosition(cell.y() - 1) +
                          numbers->sectionSize(cell.y() - 1) / 2;
            QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {}, QPoint(5, y));
            break;
        }
        case Gesture::Click:
            clickCell(grid, cell.y(), cell.x());
            break;
        case Gesture::DoubleClick: {
            QHeaderView* numbers = grid->verticalHeader();
            QWidget* target = cell.x() == 0 ? numbers->viewport() : grid->viewport();
            const QPoint point = cell.x() == 0
                                     ? QPoint(5, numbers->sectionViewportPosition(cell.y() - 1) +
                                                     numbers->sectionSize(cell.y() - 1) / 2)
                                     : grid->cellRect(cell.y(), cell.x()).center();
            // A double click arrives as a click followed by the double-click event.
            QTest::mouseClick(target, Qt::LeftButton, {}, point);
            QTest::mouseDClick(target, Qt::LeftButton, {}, point);
            break;
        }
        }
        if (row > 0) {
            QCOMPARE(grid->row(), row);
        }
        const QString highlighted = grid->text(grid->row(), 2);
        QCOMPARE(highlighted, code);
        QCOMPARE(window->chosenSetProduct().value_or(SetProduct()).code, code);

        if (gesture == Gesture::Keys) {
            QTest::keyClick(grid, Qt::Key_Return);
        } else if (gesture != Gesture::DoubleClick) {
            QTest::keyClick(window->CmdZshosai(), Qt::Key_Return);
        }
        auto* details = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        QVERIFY(details);
        QCOMPARE(details->LblScode()->text(), code);
    }

    void tabLeavesTheGrid()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        search(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        FlexGrid* grid = window->MSFlexGrid1();
        grid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window->CmdZshosai());
        QTest::keyClick(window->CmdZshosai(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), grid);
        QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), window->CmdSearch());
        QCOMPARE(grid->row(), 1);
    }

    void detailsTakeTheSelectionAndGiveTheButtonsBack()
    {
        WindowHarness app;
        fillStocks(app);
        app.mainMenu->setDirectory(u"/data/books/"_s);
        InquiryWindow* window = openInquiry(app);
        FlexGrid* grid = window->MSFlexGrid1();
        search(window);
        clickCell(grid, 3, 2);
        clickCell(grid, 1, 5);

        QTest::mouseClick(window->CmdZshosai(), Qt::LeftButton);
        auto* details = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        QVERIFY(details);
        QCOMPARE(details->LblScode()->text(), u"S001"_s);
        QCOMPARE(details->LblSname()->text(), u"セットA"_s);
        QCOMPARE(details->LblZaikosu()->text(), u"1,234"_s);
        QCOMPARE(details->LblTani()->text(), u"個"_s);
        QCOMPARE(details->LblTani2()->text(), u"個"_s);
        QCOMPARE(details->LblKnousu()->text(), u"0"_s);
        QCOMPARE(details->screen().directory(), u"/data/books/"_s);
        QCOMPARE(buttonsOf(window), (Buttons{false, false, false}));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{false, false, false}));

        // Enter in a search box searches nothing while 検索 is disabled.
        window->TxtScode()->setText(u"S002"_s);
        QTest::keyClick(window->TxtScode(), Qt::Key_Return);
        QCOMPARE(grid->text(1, 2), u"S001"_s);

        // The inquiry's grid still answers, but only for its own selection.
        clickCell(grid, 2, 1);
        QCOMPARE(window->chosenSetProduct().value_or(SetProduct()).code, u"S002"_s);
        QCOMPARE(details->LblScode()->text(), u"S001"_s);

        // Neither window closes but through its own 戻る, which the close box presses: the
        // inquiry's is disabled meanwhile.
        requestClose(window);
        QVERIFY(window->isVisible());
        requestClose(details);
        QVERIFY(!WindowHarness::find<SetStockWindow>(u"Frm0030F"_s));
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true}));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{false, false, false}));
        // Back on the row the details were opened from, the list in focus.
        QCOMPARE(window->chosenSetProduct().value_or(SetProduct()).code, u"S001"_s);
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(window->focusWidget(), grid);
        QCOMPARE(WindowHarness::find<InquiryWindow>(u"Frm0020F"_s), window);
    }

    // What a screen reader finds: the window and its controls by role and name, the grid's
    // headings named, and nothing else wrong with the tree (see accessibilityFaults).
    void screenReaderTree()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        search(window);
        const QStringList mismatches = spokenMismatches(
            window, {
                        {u"Frm0020F"_s, QAccessible::Window, u"セット商品在庫照会"_s},
                        {u"TxtScode"_s, QAccessible::EditableText, u"商品コード"_s},
                        {u"TxtSname"_s, QAccessible::EditableText, u"商品名"_s},
                        {u"CmdSearch"_s, QAccessible::PushButton, u"検索"_s},
                        {u"MSFlexGrid1"_s, QAccessible::Table, u"セット商品在庫一覧"_s},
                        {u"CmdZshosai"_s, QAccessible::PushButton, u"在庫詳細"_s},
                        {u"LblMsg"_s, QAccessible::StaticText, u"メッセージ"_s},
                    });
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
        QAccessibleTableInterface* grid = accessibleOf(window, u"MSFlexGrid1"_s)->tableInterface();
        QStringList headings;
        for (int column = 0; column < grid->columnCount(); ++column) {
            QAccessibleTableCellInterface* cell = grid->cellAt(0, column)->tableCellInterface();
            headings << cell->columnHeaderCells().value(0)->text(QAccessible::Name);
        }
        QCOMPARE(headings, (QStringList{u"商品名"_s, u"商品コード"_s, u"在庫数"_s, u"単位"_s,
                                        u"備考"_s, u"空欄"_s}));
        const QStringList faults = accessibilityFaults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

        // The grid's current cell claims the focus while the grid holds it, and only then.
        QAccessibleInterface* current = grid->cellAt(0, 0);
        QVERIFY(!current->state().focused);
        QApplication::setActiveWindow(window);
        window->MSFlexGrid1()->setFocus();
        QVERIFY(current->state().focused);
        QVERIFY(!grid->cellAt(1, 0)->state().focused);
    }

    void closeBoxAndEscAreTheBackButton()
    {
        for (const bool byEscape : {false, true}) {
            WindowHarness app;
            fillStocks(app);
            InquiryWindow* window = openInquiry(app);
            search(window);
            requestClose(window, byEscape);
            QVERIFY(!WindowHarness::find<InquiryWindow>(u"Frm0020F"_s));
            QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, true, true}));
            QVERIFY(app.prompter.events.isEmpty());
        }
    }

    // The main menu stays while the inquiry is open, its close box refused as its 終了 is.
    void mainMenuCannotBeClosedUnderTheInquiry()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        requestClose(app.mainMenu);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu && app.mainMenu->isVisible());
        search(window);
        QTest::mouseClick(window->CmdExit(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<InquiryWindow>(u"Frm0020F"_s));
        QVERIFY(app.mainMenu && app.mainMenu->isVisible());
    }

    void backGivesTheMainMenuItsButtonsAndReopeningIsFresh()
    {
        WindowHarness app;
        fillStocks(app);
        InquiryWindow* window = openInquiry(app);
        search(window, u"S"_s, u"セット"_s);
        clickCell(window->MSFlexGrid1(), 2, 1);

        QTest::mouseClick(window->CmdExit(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<InquiryWindow>(u"Frm0020F"_s));
        QCOMPARE(buttonsOf(app.mainMenu), (Buttons{true, true, true}));
        QCOMPARE(app.mainMenu->focusWidget(), app.mainMenu->CmdZaiko());
        QVERIFY(app.prompter.events.isEmpty());

        window = openInquiry(app);
        QVERIFY(window);
        QCOMPARE(window->TxtScode()->text(), QString());
        QCOMPARE(window->TxtSname()->text(), QString());
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(window->chosenSetProduct(), std::nullopt);
        QCOMPARE(rowOf(window->MSFlexGrid1(), 1), QStringList(7, QString()));
        QCOMPARE(buttonsOf(window), (Buttons{true, false, true}));
        QCOMPARE(window->focusWidget(), window->TxtScode());
    }
};

QTEST_MAIN(TestInquiryWindow)
#include "tst_InquiryWindow.moc"
