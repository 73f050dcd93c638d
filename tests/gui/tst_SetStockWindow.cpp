#include "common/FileSync.h"
#include "gui/InquiryWindow.h"
#include "gui/SetStockWindow.h"
#include "support/AccessibleTree.h"
#include "support/GridRows.h"
#include "support/WindowHarness.h"
#include "ui/FlexGrid.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

const QString exporting = u"出力中・・・・・・"_s;
const QString listingFailed = u"エラーが発生しました E0210"_s;
const QString exportFailed = u"エラーが発生しました E0220"_s;
const QString simulationFailed = u"エラーが発生しました E0230"_s;
const QString capacityBox = u"表示行数が100件を超えました(100件まで表示)"_s;
const QString noComponents = u"構成部品が存在しません。確認してください。"_s;
const QString missingComponent = u"在庫マスタに無い構成部品が存在します。確認してください。"_s;
const QString tooManyComponents = u"構成部品が100件を超えています。確認してください。"_s;

const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor red(255, 0, 0);
const QColor yellow(255, 255, 0);

// 構成商品を表示, 再計算, 在庫状況CSV出力, 戻る.
struct Buttons
{
    bool search;
    bool calc;
    bool csv;
    bool exit;
    friend bool operator==(const Buttons&, const Buttons&) = default;
};

Buttons buttonsOf(const SetStockWindow* window)
{
    return {window->CmdSearch()->isEnabled(), window->CmdCalc()->isEnabled(),
            window->CmdCsvout()->isEnabled(), window->CmdExit()->isEnabled()};
}

// The rows the export writes and the order it takes, as texts.
QString listedRowsText(const SetStockWindow* window)
{
    return QString::number(window->screen().listedRows());
}

QString acceptedOrderText(const SetStockWindow* window)
{
    const std::optional<std::int32_t>& order = window->screen().acceptedOrder();
    return order ? QString::number(*order) : QString();
}

int listStatusOf(const SetStockWindow* window)
{
    return static_cast<int>(window->screen().listStatus());
}

// Planned shipment and shortage of a row, with the shortage cell's colours.
struct Simulated
{
    QString shipment;
    QString shortage;
    QColor text;
    QColor background;
    friend bool operator==(const Simulated&, const Simulated&) = default;
};

Simulated simulatedOf(const FlexGrid* grid, int row)
{
    return {grid->text(row, 6), grid->text(row, 7), grid->textColour(row, 7),
            grid->backgroundColour(row, 7)};
}

void addStock(WindowHarness& app, const QString& code, const QString& name, const QString& unit,
              int quantity, const QString& flag = u"0"_s)
{
    NewStockRow row;
    row.productCode = code;
    row.productName = name;
    row.unit = unit;
    row.setFlag = flag;
    row.stockQuantity = quantity;
    app.append(row);
}

void addComponent(WindowHarness& app, const QString& setCode, const QString& code, int perSet)
{
    NewProductRow row;
    row.setCode = setCode;
    row.componentCode = code;
    row.quantityPerSet = perSet;
    app.append(row);
}

// Set products for every outcome of a listing; codes end in a letter so that a code search
// finds exactly one of them.
void fillMasters(WindowHarness& app)
{
    addStock(app, u"S1A"_s, u"セットA"_s, u"個"_s, 1030, u"1"_s);
    addStock(app, u"P01"_s, u"部品A"_s, u"個"_s, 1234);
    addStock(app, u"P02"_s, u"部品B"_s, u"本"_s, 15);
    addStock(app, u"P03"_s, u"部品\"C,D\""_s, u"個"_s, 5000);
    addComponent(app, u"S1A"_s, u"P01"_s, 2);
    addComponent(app, u"S1A"_s, u"P02"_s, 1);
    addComponent(app, u"S1A"_s, u"P03"_s, 1);

    // One component missing from the stock master, between two that are there.
    addStock(app, u"S2B"_s, u"セットB"_s, u"箱 \u3000"_s, 10, u"1"_s);
    addComponent(app, u"S2B"_s, u"P01"_s, 1);
    addComponent(app, u"S2B"_s, u"PX"_s, 1);
    addComponent(app, u"S2B"_s, u"P02"_s, 1);

    addStock(app, u"S3C"_s, u"セットC"_s, u"組"_s, 5, u"1"_s); // no components at all

    // 101 components.
    addStock(app, u"S6F"_s, u"セットF"_s, u"組"_s, 5, u"1"_s);
    for (int i = 1; i <= 101; ++i) {
        const QString code = u"Q"_s + QString::number(i);
        addStock(app, code, u"部品"_s + code, u"個"_s, i * 10);
        addComponent(app, u"S6F"_s, code, 1);
    }

    // For the order simulation: set stock 10, three components.
    addStock(app, u"S8H"_s, u"セットH"_s, u"個"_s, 10, u"1"_s);
    addStock(app, u"Z1"_s, u"部品Z1"_s, u"個"_s, 7);
    addStock(app, u"Z2"_s, u"部品Z2"_s, u"個"_s, 10);
    addStock(app, u"Z3"_s, u"部品Z3"_s, u"g"_s, 1000);
    addComponent(app, u"S8H"_s, u"Z1"_s, 2);
    addComponent(app, u"S8H"_s, u"Z2"_s, 2);
    addComponent(app, u"S8H"_s, u"Z3"_s, 500);

    // A quantity per set of 0 on the first component.
    addStock(app, u"S9J"_s, u"セットJ"_s, u"個"_s, 10, u"1"_s);
    addComponent(app, u"S9J"_s, u"P02"_s, 0);
}

// Searches the inquiry for the code, and opens the component window on the first row.
SetStockWindow* openDetails(WindowHarness& app, const QString& code)
{
    app.mainMenu->setButtonsEnabled(true, true, true);
    QTest::mouseClick(app.mainMenu->CmdZaiko(), Qt::LeftButton);
    auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
    if (!inquiry) {
        return nullptr;
    }
    inquiry->TxtScode()->setText(code);
    QTest::mouseClick(inquiry->CmdSearch(), Qt::LeftButton);
    QTest::mouseClick(inquiry->CmdZshosai(), Qt::LeftButton);
    return WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
}

void list(SetStockWindow* window)
{
    QTest::mouseClick(window->CmdSearch(), Qt::LeftButton);
}

void calculate(SetStockWindow* window, const QString& entry)
{
    window->TxtJsuryo()->setText(entry);
    QTest::mouseClick(window->CmdCalc(), Qt::LeftButton);
}

// The files under the directory, relative to it, sorted.
QStringList filesUnder(const QString& directory)
{
    QStringList files;
    QDirIterator it(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(directory).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

// The file converted from code page 932 by an independent converter.
QString decodedCp932(const QString& path)
{
    QProcess iconv;
    iconv.start(u"iconv"_s, {u"-f"_s, u"CP932"_s, u"-t"_s, u"UTF-8"_s, path});
    if (!iconv.waitForFinished() || iconv.exitCode() != 0) {
        return u"iconv failed: "_s + QString::fromUtf8(iconv.readAllStandardError());
    }
    return QString::fromUtf8(iconv.readAllStandardOutput());
}

const QString csvHeader =
    u"商品コード,商品名,受注数量,数量単位,在庫数量,追加可能数量,出荷不足数量,構成商品コード,"
    u"構成商品名,構成商品在庫数量,構成商品単位,製品構成数量,出荷必要在庫数量,出荷不足在庫数量,"
    u"\r\n"_s;

} // namespace

namespace QTest {
template <>
char* toString(const Buttons& b)
{
    return qstrdup(QByteArray::number(b.search) + ',' + QByteArray::number(b.calc) + ',' +
                   QByteArray::number(b.csv) + ',' + QByteArray::number(b.exit));
}
template <>
char* toString(const Simulated& s)
{
    return qstrdup(
        (s.shipment + u' ' + s.shortage + u' ' + s.text.name() + u" on "_s + s.background.name())
            .toUtf8());
}
} // namespace QTest

class TestSetStockWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startDirectory;

    // The one file in the directory, named code_name_stamp.csv with a stamp of the export's
    // time; empty when there is not exactly one.
    static QString exportedFile(const QString& directory, const QString& prefix,
                                const QDateTime& before, const QDateTime& after)
    {
        const QStringList files = filesUnder(directory);
        if (files.size() != 1) {
            qWarning() << "files:" << files;
            return {};
        }
        const QRegularExpression name(u"^"_s + QRegularExpression::escape(prefix) +
                                      u"_(\\d{12})\\.csv$"_s);
        const QRegularExpressionMatch match = name.match(files.front());
        if (!match.hasMatch()) {
            qWarning() << "file name:" << files.front();
            return {};
        }
        const QString stamp = match.captured(1);
        const QString earliest = before.toString(u"yyMMddHHmmss"_s);
        const QString latest = after.toString(u"yyMMddHHmmss"_s);
        if (stamp < earliest || stamp > latest) {
            qWarning() << "stamp" << stamp << "not within" << earliest << latest;
            return {};
        }
        return QDir(directory).filePath(files.front());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_startDirectory = QDir::currentPath();
    }

    void cleanupTestCase() { QDir::setCurrent(m_startDirectory); }

    void opensFreshAndReopensFresh()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S1A"_s);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"セ ッ ト 商 品 個 別 在 庫 状 況"_s);
        QCOMPARE(window->size(), QSize(865, 436)); // 12975 x 6540 twips

        const struct
        {
            QString name;
            QString text;
        } captions[] = {
            {u"Label4"_s, u"商品コード"_s},
            {u"Label1"_s, u"商品名"_s},
            {u"Label2"_s, u"在庫数"_s},
            {u"Label8"_s, u"追加可能数量"_s},
            {u"Label5"_s, u"構成商品在庫一覧"_s},
            {u"Text1"_s, u"受注予定数"_s},
            {u"Text2"_s, u"再計算すると構成部品の在庫数が更新され"_s},
            {u"Text4"_s, u"不足構成商品に不足在庫数が表示されます。"_s},
            {u"LblMsg"_s, QString()},
        };
        for (const auto& caption : captions) {
            const auto* label = window->findChild<QLabel*>(caption.name);
            QVERIFY2(label, qPrintable(caption.name));
            QCOMPARE(label->text(), caption.text);
        }
        QCOMPARE(window->findChild<QGroupBox*>(u"Frame1"_s)->title(), u"受注シミュレーション"_s);
        QCOMPARE(window->CmdSearch()->text(), u"構成商品を表示"_s);
        QCOMPARE(window->CmdCalc()->text(), u"再計算"_s);
        QCOMPARE(window->CmdCsvout()->text(), u"在庫状況CSV出力"_s);
        QCOMPARE(window->CmdExit()->text(), u"戻る"_s);

        FlexGrid* grid = window->MSFlexGrid1();
        QCOMPARE(grid->rows(), 101);
        QCOMPARE(grid->columns(), 10);
        QCOMPARE(rowOf(grid, 0),
                 (QStringList{u"No."_s, u"構成商品名"_s, u"構成商品コード"_s, u"在庫数"_s,
                              u"単位"_s, u"構成数量"_s, u"出荷予定数"_s, u"不足在庫数"_s,
                              u"出荷可能数"_s, u"必要在庫数"_s}));
        // 500, 4300, 2300, 1120, 600, 1120, 1140, 1120, 1120 and 1120 twips.
        const int widths[] = {33, 287, 153, 75, 40, 75, 76, 75, 75, 75};
        QCOMPARE(grid->verticalHeader()->width(), widths[0]);
        for (int column = 1; column < 10; ++column) {
            QCOMPARE(grid->columnWidth(column - 1), widths[column]);
        }
        QCOMPARE(grid->horizontalHeader()->height(), 23); // 350 twips

        const auto checkFresh = [&] {
            QCOMPARE(rowOf(grid, 1), QStringList(10, QString()));
            QCOMPARE(rowOf(grid, 100), QStringList(10, QString()));
            QCOMPARE(grid->backgroundColour(1, 7), white);
            QCOMPARE(grid->row(), 1);
            QCOMPARE(grid->col(), 1);
            QCOMPARE(window->LblMsg()->text(), QString());
            QCOMPARE(listedRowsText(window), u"0"_s);
            QCOMPARE(window->LblKnousu()->text(), u"0"_s);
            QCOMPARE(acceptedOrderText(window), QString());
            QCOMPARE(window->TxtJsuryo()->text(), QString());
            QCOMPARE(listStatusOf(window), 0);
            QCOMPARE(buttonsOf(window), (Buttons{true, false, false, true}));
        };
        checkFresh();
        QCOMPARE(window->LblScode()->text(), u"S1A"_s);
        // Enter in the order box does nothing while 再計算 is disabled.
        QTest::keyClick(window->TxtJsuryo(), Qt::Key_Return);
        checkFresh();

        list(window);
        calculate(window, u"2000"_s);
        QCOMPARE(grid->textColour(1, 7), red);
        // Esc (and the close box, see the inquiry's tests) is 戻る.
        requestClose(window, true);
        QVERIFY(!WindowHarness::find<SetStockWindow>(u"Frm0030F"_s));
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        QVERIFY(inquiry->CmdSearch()->isEnabled());
        QVERIFY(inquiry->CmdZshosai()->isEnabled());
        QVERIFY(inquiry->CmdExit()->isEnabled());

        inquiry->TxtScode()->setText(u"S8H"_s);
        QTest::mouseClick(inquiry->CmdSearch(), Qt::LeftButton);
        QTest::mouseClick(inquiry->CmdZshosai(), Qt::LeftButton);
        window = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        QVERIFY(window);
        grid = window->MSFlexGrid1();
        checkFresh();
        QCOMPARE(window->LblScode()->text(), u"S8H"_s);
        QVERIFY(app.prompter.events.isEmpty());
    }

    // Both windows of the inquiry fit the screen they open on, whatever its size and scale:
    // where the layout is larger, it shows unchanged in a scroll area, and every control
    // taking the focus scrolls into view. Run on a desktop screen and, as a test of its own,
    // on a 1366 x 768 screen at a scale of 2.
    void windowsFitTheScreen()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* details = openDetails(app, u"S1A"_s);
        QVERIFY(details);
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        for (QWidget* window : {static_cast<QWidget*>(inquiry), static_cast<QWidget*>(details)}) {
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QRect available = window->screen()->availableGeometry();
            QVERIFY2(available.contains(window->frameGeometry()), qPrintable(window->objectName()));
            auto* area = window->findChild<QScrollArea*>();
            const QSize layout(865, 436); // 12975 x 6540 twips
            QCOMPARE(area != nullptr, layout.width() > available.width());
            QCOMPARE(window->findChild<QPushButton*>(u"CmdExit"_s)->geometry().topLeft(),
                     window == details ? QPoint(768, 384) : QPoint(760, 392));
            QApplication::setActiveWindow(window);
            QVERIFY(QTest::qWaitForWindowActive(window));
            const QList<QWidget*> controls = window->findChildren<QWidget*>();
            for (QWidget* control : controls) {
                if (!qobject_cast<QPushButton*>(control) && !qobject_cast<QLineEdit*>(control) &&
                    !qobject_cast<FlexGrid*>(control)) {
                    continue;
                }
                control->setEnabled(true);
                control->setFocus();
                const QRect shown(control->mapTo(window, QPoint(0, 0)), control->size());
                QVERIFY2(window->rect().contains(shown.center()),
                         qPrintable(control->objectName()));
            }
        }
    }

    void screenReaderTree()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S8H"_s);
        QVERIFY(window);
        list(window);
        calculate(window, u"15"_s); // the first component falls short
        const QStringList mismatches = spokenMismatches(
            window, {
                        {u"Frm0030F"_s, QAccessible::Window, u"セット商品個別在庫状況"_s},
                        {u"LblScode"_s, QAccessible::StaticText, u"商品コード S8H"_s},
                        {u"LblZaikosu"_s, QAccessible::StaticText, u"在庫数 10"_s},
                        {u"LblTani"_s, QAccessible::StaticText, u"単位 個"_s},
                        {u"LblKnousu"_s, QAccessible::StaticText, u"追加可能数量 2"_s},
                        {u"MSFlexGrid1"_s, QAccessible::Table, u"構成商品在庫一覧"_s},
                        {u"TxtJsuryo"_s, QAccessible::EditableText, u"受注予定数"_s},
                        {u"CmdCsvout"_s, QAccessible::PushButton, u"在庫状況CSV出力"_s},
                    });
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
        // The shortage is said, not only coloured.
        QAccessibleTableInterface* grid = accessibleOf(window, u"MSFlexGrid1"_s)->tableInterface();
        const int shortage = 6; // 不足在庫数, the seventh data column
        QCOMPARE(grid->cellAt(0, shortage)->text(QAccessible::Name),
                 window->MSFlexGrid1()->text(1, 7));
        QCOMPARE(grid->cellAt(0, shortage)->text(QAccessible::Description), u"在庫不足"_s);
        QCOMPARE(grid->cellAt(1, shortage)->text(QAccessible::Description), QString());
        const QStringList faults = accessibilityFaults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void completeListing()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S1A"_s);
        FlexGrid* grid = window->MSFlexGrid1();
        grid->setTopRow(50);
        grid->setCurrent(40, 4);
        list(window);

        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(rowOf(grid, 1), (QStringList{u"1"_s, u"部品A"_s, u"P01"_s, u"1,234"_s, u"個"_s,
                                              u"2"_s, u"0"_s, u"0"_s, u"617"_s, u"1234"_s}));
        QCOMPARE(rowOf(grid, 2), (QStringList{u"2"_s, u"部品B"_s, u"P02"_s, u"15"_s, u"本"_s,
                                              u"1"_s, u"0"_s, u"0"_s, u"15"_s, u"15"_s}));
        QCOMPARE(rowOf(grid, 3),
                 (QStringList{u"3"_s, u"部品\"C,D\""_s, u"P03"_s, u"5,000"_s, u"個"_s, u"1"_s,
                              u"0"_s, u"0"_s, u"5000"_s, u"5000"_s}));
        QCOMPARE(rowOf(grid, 4), QStringList(10, QString()));
        for (int row = 1; row <= 3; ++row) {
            QCOMPARE(grid->textColour(row, 7), black);
            QCOMPARE(grid->backgroundColour(row, 7), white);
        }
        QCOMPARE(window->LblKnousu()->text(), u"15"_s);
        QCOMPARE(listedRowsText(window), u"3"_s);
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(listStatusOf(window), 0);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
        QCOMPARE(grid->topRow(), 1);
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void incompleteListings_data()
    {
        QTest::addColumn<QString>("setCode");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<QString>("knousu");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("box");

        QStringList hundred;
        for (int i = 1; i <= 100; ++i) {
            hundred << u"Q"_s + QString::number(i);
        }
        QTest::newRow("missing component") << u"S2B"_s << QStringList{u"P01"_s, u"P02"_s}
                                           << missingComponent << u"2"_s << u"0"_s << 1 << false;
        QTest::newRow("no components")
            << u"S3C"_s << QStringList() << noComponents << u"0"_s << u"0"_s << 1 << false;
        QTest::newRow("101") << u"S6F"_s << hundred << tooManyComponents << u"100"_s << u"0"_s << 2
                             << true;
    }

    void incompleteListings()
    {
        QFETCH(QString, setCode);
        QFETCH(QStringList, codes);
        QFETCH(QString, line);
        QFETCH(QString, rowText);
        QFETCH(QString, knousu);
        QFETCH(int, status);
        QFETCH(bool, box);

        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, setCode);
        FlexGrid* grid = window->MSFlexGrid1();
        QString lineAtBox = u"unset"_s;
        QString lastRowAtBox;
        QString rowTextAtBox;
        app.prompter.onBox = [&](const QString&) {
            lineAtBox = window->LblMsg()->text();
            lastRowAtBox = grid->text(100, 2);
            rowTextAtBox = listedRowsText(window);
        };
        list(window);

        QCOMPARE(listedCodes(grid), codes);
        QCOMPARE(window->LblMsg()->text(), line);
        QCOMPARE(listedRowsText(window), rowText);
        QCOMPARE(window->LblKnousu()->text(), knousu);
        QCOMPARE(listStatusOf(window), status);
        const bool complete = status == 0;
        QCOMPARE(buttonsOf(window), (Buttons{true, complete, complete, true}));
        if (box) {
            QCOMPARE(app.prompter.events, QStringList{u"box:"_s + capacityBox});
            // The box comes once the 100 rows stand, before the summary is written.
            QCOMPARE(lastRowAtBox, u"Q100"_s);
            QCOMPARE(lineAtBox, QString());
            QCOMPARE(rowTextAtBox, u"0"_s);
        } else {
            QVERIFY(app.prompter.events.isEmpty());
        }
    }

    void listingFailureKeepsWhatTheLastListingShowed_data()
    {
        QTest::addColumn<QString>("setCode");
        QTest::addColumn<int>("rowsBefore");
        QTest::addColumn<QString>("knousu");
        QTest::addColumn<bool>("buttons");

        QTest::newRow("after a complete listing") << u"S1A"_s << 3 << u"15"_s << true;
        QTest::newRow("after an incomplete listing") << u"S2B"_s << 2 << u"0"_s << false;
    }

    // What a failed listing keeps of the last one is the session's rule; here the window only
    // ever lists the book it was opened with, whatever was imported since.
    void listingFailureKeepsWhatTheLastListingShowed()
    {
        QFETCH(QString, setCode);
        QFETCH(int, rowsBefore);
        QFETCH(QString, knousu);
        QFETCH(bool, buttons);

        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, setCode);
        FlexGrid* grid = window->MSFlexGrid1();
        list(window);
        const QStringList firstRow = rowOf(grid, 1);
        const QString rowText = QString::number(rowsBefore);
        QCOMPARE(listedRowsText(window), rowText);
        app.prompter.events.clear();

        // A new book with one more component, of a quantity per set of 0, after the others.
        addStock(app, u"P04"_s, u"部品D"_s, u"個"_s, 8);
        addComponent(app, setCode, u"P04"_s, 0);
        list(window);

        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(rowOf(grid, 1), firstRow);
        QCOMPARE(rowOf(grid, rowsBefore + 1), QStringList(10, QString()));
        QCOMPARE(window->LblKnousu()->text(), knousu);
        QCOMPARE(listedRowsText(window), rowText);
        QCOMPARE(buttonsOf(window), (Buttons{true, buttons, buttons, true}));

        // Opened again, the window reads the new book: the listing fails at that row.
        QTest::mouseClick(window->CmdExit(), Qt::LeftButton);
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        QVERIFY(inquiry);
        QTest::mouseClick(inquiry->CmdZshosai(), Qt::LeftButton);
        window = WindowHarness::find<SetStockWindow>(u"Frm0030F"_s);
        QVERIFY(window);
        list(window);
        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:"_s + listingFailed}));
        QCOMPARE(listStatusOf(window), 9);
        QCOMPARE(rowOf(window->MSFlexGrid1(), rowsBefore + 1).mid(1, 3),
                 (QStringList{u"部品D"_s, u"P04"_s, u"8"_s}));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void listingFailureOnAFreshWindow()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S9J"_s);
        list(window);
        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:"_s + listingFailed}));
        QCOMPARE(window->MSFlexGrid1()->text(1, 2), u"P02"_s);
        QCOMPARE(window->LblKnousu()->text(), u"0"_s);
        QCOMPARE(listedRowsText(window), u"0"_s);
        QCOMPARE(buttonsOf(window), (Buttons{true, false, false, true}));
    }

    void refusedEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("box");

        // Which check refuses which entry, and its box, are the session's rules.
        QTest::newRow("empty") << QString() << u"受注予定数を入力してください"_s;
        QTest::newRow("negative") << u"-3"_s << u"マイナス数量は入力できません"_s;
    }

    void refusedEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, box);

        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S8H"_s);
        list(window);
        calculate(window, u"15"_s);
        QCOMPARE(acceptedOrderText(window), u"15"_s);
        const QStringList shortRow = rowOf(window->MSFlexGrid1(), 1);

        calculate(window, entry);
        QCOMPARE(app.prompter.events, QStringList{u"box:"_s + box});
        QCOMPARE(acceptedOrderText(window), QString());
        QCOMPARE(rowOf(window->MSFlexGrid1(), 1), shortRow);
        QCOMPARE(window->TxtJsuryo()->text(), entry);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
    }

    void acceptedEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("order");

        QTest::newRow("grouped") << u"1,000"_s << u"1000"_s;
        QTest::newRow("full-width digits, spaces around") << u" ２０ \u3000"_s << u"20"_s;
    }

    void acceptedEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, order);

        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S1A"_s);
        list(window);
        // Enter in the order box is 再計算.
        window->TxtJsuryo()->setText(entry);
        QTest::keyClick(window->TxtJsuryo(), Qt::Key_Return);
        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(acceptedOrderText(window), order);
        QCOMPARE(window->LblKnousu()->text(), u"15"_s);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
    }

    void entryBeyond32BitsFails()
    {
        for (const QString& entry : {u"2147483648"_s, u"-2147483649"_s}) {
            WindowHarness app;
            fillMasters(app);
            SetStockWindow* window = openDetails(app, u"S8H"_s);
            list(window);
            calculate(window, u"5"_s);
            QCOMPARE(acceptedOrderText(window), u"5"_s);
            const QStringList firstRow = rowOf(window->MSFlexGrid1(), 1);

            calculate(window, entry);
            QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:"_s + simulationFailed}));
            QCOMPARE(acceptedOrderText(window), QString());
            QCOMPARE(rowOf(window->MSFlexGrid1(), 1), firstRow);
            QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
        }
    }

    void overflowInTheSimulationKeepsTheAcceptedOrder()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S1A"_s);
        FlexGrid* grid = window->MSFlexGrid1();
        list(window);
        calculate(window, u"2000"_s);
        QCOMPARE(grid->text(1, 6), u"1,940"_s);

        // 2 per set times 2147482617 sets does not fit: the first row stops before its shipment.
        calculate(window, u"2147483647"_s);
        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:"_s + simulationFailed}));
        QCOMPARE(acceptedOrderText(window), u"2147483647"_s);
        QCOMPARE(grid->text(1, 6), u"1,940"_s);
        QCOMPARE(grid->text(2, 6), u"970"_s);
        QCOMPARE(window->LblKnousu()->text(), u"15"_s);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
    }

    void simulationMarksShortagesAndCoveredOrderClearsThem()
    {
        WindowHarness app;
        fillMasters(app);
        SetStockWindow* window = openDetails(app, u"S8H"_s);
        FlexGrid* grid = window->MSFlexGrid1();
        list(window);
        QCOMPARE(window->LblKnousu()->text(), u"2"_s);
        const QStringList listed = {rowOf(grid, 1).join(u'|'), rowOf(grid, 2).join(u'|'),
                                    rowOf(grid, 3).join(u'|')};

        // Set stock 10, order 15: five sets to assemble.
        grid->setTopRow(40);
        grid->setCurrent(30, 5);
        calculate(window, u"15"_s);
        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(acceptedOrderText(window), u"15"_s);
        QCOMPARE(simulatedOf(grid, 1), (Simulated{u"10"_s, u"-3"_s, red, yellow}));
        QCOMPARE(simulatedOf(grid, 2), (Simulated{u"10"_s, u"0"_s, black, white}));
        QCOMPARE(simulatedOf(grid, 3), (Simulated{u"2,500"_s, u"-1,500"_s, red, yellow}));
        QCOMPARE(grid->topRow(), 1);
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(window->LblKnousu()->text(), u"2"_s);
        QCOMPARE(listedRowsText(window), u"3"_s);
        QCOMPARE(window->LblMsg()->text(), QString());
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));

        // An order the set stock covers shows the plain listing again.
        calculate(window, u"10"_s);
        QVERIFY(app.prompter.events.isEmpty());
        QCOMPARE(acceptedOrderText(window), u"10"_s);
        for (int row = 1; row <= 3; ++row) {
            QCOMPARE(simulatedOf(grid, row), (Simulated{u"0"_s, u"0"_s, black, white}));
            QCOMPARE(rowOf(grid, row).join(u'|'), listed[row - 1]);
        }
        QCOMPARE(window->LblKnousu()->text(), u"2"_s);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void exportWritesWhatTheWindowShows()
    {
        QTemporaryDir dir(m_dir.filePath(u"export-XXXXXX"_s));
        QVERIFY(dir.isValid());
        WindowHarness app;
        fillMasters(app);
        app.mainMenu->setDirectory(dir.path() + u'/');
        SetStockWindow* window = openDetails(app, u"S1A"_s);
        FlexGrid* grid = window->MSFlexGrid1();
        QCOMPARE(window->screen().directory(), dir.path() + u'/');
        list(window);

        QString lineAtBox;
        Buttons buttonsAtBox{true, true, true, true};
        app.prompter.onBox = [&](const QString&) {
            lineAtBox = window->LblMsg()->text();
            buttonsAtBox = buttonsOf(window);
        };
        const auto exportNow = [&](const QString& expected) {
            app.prompter.events.clear();
            const QDateTime before = QDateTime::currentDateTime();
            QTest::mouseClick(window->CmdCsvout(), Qt::LeftButton);
            const QDateTime after = QDateTime::currentDateTime();

            QCOMPARE(app.prompter.events, QStringList{u"box:3 件のデータを出力しました"_s});
            QCOMPARE(lineAtBox, exporting);
            QCOMPARE(buttonsAtBox, (Buttons{false, false, false, false}));
            QCOMPARE(window->LblMsg()->text(), QString());
            QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));
            QCOMPARE(QApplication::overrideCursor(), nullptr);
            QCOMPARE(grid->row(), 3);
            QCOMPARE(grid->col(), 7);
            QCOMPARE(window->focusWidget(), window->CmdCsvout());

            const QString path = exportedFile(dir.path(), u"S1A_セットA"_s, before, after);
            QVERIFY(!path.isEmpty());
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
            QCOMPARE(bytes.count("\r\n"), 4);
            QCOMPARE(bytes.count('\n'), 4);
            QCOMPARE(bytes.count('\r'), 4);
            QCOMPARE(decodedCp932(path), csvHeader + expected);
            QVERIFY(QFile::remove(path));
        };

        // No order accepted yet: the order and the set's shortage are 0.
        exportNow(u"S1A,セットA,0,個,1030,15,0,P01,部品A,1234,個,2,0,0,\r\n"
                  u"S1A,セットA,0,個,1030,15,0,P02,部品B,15,本,1,0,0,\r\n"
                  u"S1A,セットA,0,個,1030,15,0,P03,\"部品\"\"C,D\"\"\",5000,個,1,0,0,\r\n"_s);
        if (QTest::currentTestFailed()) {
            return;
        }

        // Order 2000 against a set stock of 1,030: 970 sets to assemble, 955 sets short.
        calculate(window, u"2000"_s);
        QCOMPARE(grid->text(1, 6), u"1,940"_s);
        QCOMPARE(grid->text(2, 7), u"-955"_s);
        const QString simulated2000 =
            u"S1A,セットA,2000,個,1030,15,955,P01,部品A,1234,個,2,1940,-706,\r\n"
            u"S1A,セットA,2000,個,1030,15,955,P02,部品B,15,本,1,970,-955,\r\n"
            u"S1A,セットA,2000,個,1030,15,955,P03,\"部品\"\"C,D\"\"\",5000,個,1,970,0,\r\n"_s;
        exportNow(simulated2000);

        // Entries that leave the list as it stands leave the order that goes with its figures.
        for (const QString& entry : {u"abc"_s, u"2147483648"_s, u"2147483647"_s}) {
            calculate(window, entry);
            QCOMPARE(acceptedOrderText(window), entry == u"2147483647"_s ? entry : QString());
            QCOMPARE(grid->text(1, 6), u"1,940"_s);
            exportNow(simulated2000);
        }

        // Covered by the set stock: the plain listing again, with the order it covers.
        calculate(window, u"1000"_s);
        QCOMPARE(acceptedOrderText(window), u"1000"_s);
        exportNow(u"S1A,セットA,1000,個,1030,15,0,P01,部品A,1234,個,2,0,0,\r\n"
                  u"S1A,セットA,1000,個,1030,15,0,P02,部品B,15,本,1,0,0,\r\n"
                  u"S1A,セットA,1000,個,1030,15,0,P03,\"部品\"\"C,D\"\"\",5000,個,1,0,0,\r\n"_s);
    }

    void exportWithoutADirectoryGoesToTheCurrentOne()
    {
        QTemporaryDir dir(m_dir.filePath(u"current-XXXXXX"_s));
        QVERIFY(dir.isValid());
        QVERIFY(QDir::setCurrent(dir.path()));
        WindowHarness app;
        fillMasters(app);
        // The component missing from the stock master is there: the listing is complete.
        addStock(app, u"PX"_s, u"部品X"_s, u"個"_s, 3);
        SetStockWindow* window = openDetails(app, u"S2B"_s);
        QCOMPARE(window->screen().directory(), QString());
        QCOMPARE(window->LblTani()->text(), u"箱 \u3000"_s);
        list(window);
        QVERIFY(window->CmdCsvout()->isEnabled());

        const QDateTime before = QDateTime::currentDateTime();
        QTest::mouseClick(window->CmdCsvout(), Qt::LeftButton);
        const QDateTime after = QDateTime::currentDateTime();
        QVERIFY(QDir::setCurrent(m_startDirectory));
        QCOMPARE(app.prompter.events, QStringList{u"box:3 件のデータを出力しました"_s});
        const QString path = exportedFile(dir.path(), u"S2B_セットB"_s, before, after);
        QVERIFY(!path.isEmpty());
        QCOMPARE(decodedCp932(path), csvHeader +
                                         u"S2B,セットB,0,箱,10,3,0,P01,部品A,1234,個,1,0,0,\r\n"
                                         u"S2B,セットB,0,箱,10,3,0,PX,部品X,3,個,1,0,0,\r\n"
                                         u"S2B,セットB,0,箱,10,3,0,P02,部品B,15,本,1,0,0,\r\n"_s);
    }

    void exportFailures_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directory"); // below the test directory
        QTest::addColumn<QString>("lure");      // a directory a careless name would write into
        QTest::addColumn<bool>("syncFails");    // the system reports a failed sync to disk

        QTest::newRow("directory missing")
            << u"F1"_s << u"セット1"_s << u"missing/"_s << QString() << false;
        QTest::newRow("slash in the name")
            << u"F2"_s << u"セット/2"_s << QString() << u"F2_セット"_s << false;
        QTest::newRow("dot-dot through the name")
            << u"F3"_s << u"/../../F3"_s << u"a/b/"_s << u"a/b/F3_"_s << false;
        QTest::newRow("colon in the name")
            << u"F4"_s << u"セット:4"_s << QString() << QString() << false;
        QTest::newRow("asterisk in the code")
            << u"F5*"_s << u"セット5"_s << QString() << QString() << false;
        QTest::newRow("backslash in the code")
            << u"F6\\x"_s << u"セット6"_s << QString() << QString() << false;
        QTest::newRow("control character in the name")
            << u"F7"_s << u"セット\t7"_s << QString() << QString() << false;
        QTest::newRow("sync to disk fails")
            << u"F8"_s << u"セット8"_s << QString() << QString() << true;
    }

    void exportFailures()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, directory);
        QFETCH(QString, lure);
        QFETCH(bool, syncFails);

        static int syncs = 0;
        syncs = 0;
        if (syncFails) {
            replaceSyncToDisk([](QFileDevice&, QString* error) {
                ++syncs;
                *error = u"Input/output error"_s;
                return false;
            });
        }
        const auto restoreSync = qScopeGuard([] { replaceSyncToDisk(nullptr); });
        QTemporaryDir dir(m_dir.filePath(u"fail-XXXXXX"_s));
        QVERIFY(dir.isValid());
        if (!lure.isEmpty()) {
            QVERIFY(QDir(dir.path()).mkpath(lure));
        }
        WindowHarness app;
        addStock(app, code, name, u"個"_s, 4, u"1"_s);
        addStock(app, u"P01"_s, u"部品A"_s, u"個"_s, 10);
        addComponent(app, code, u"P01"_s, 2);
        app.mainMenu->setDirectory(dir.path() + u'/' + directory);
        SetStockWindow* window = openDetails(app, code);
        QVERIFY(window);
        QCOMPARE(window->LblSname()->text(), name);
        list(window);
        QCOMPARE(buttonsOf(window), (Buttons{true, true, true, true}));

        Buttons buttonsAtBox{true, true, true, true};
        app.prompter.onBox = [&](const QString&) { buttonsAtBox = buttonsOf(window); };
        QTest::mouseClick(window->CmdCsvout(), Qt::LeftButton);

        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:"_s + exportFailed}));
        QCOMPARE(buttonsAtBox, (Buttons{false, false, false, false}));
        QCOMPARE(buttonsOf(window), (Buttons{false, false, false, true}));
        QCOMPARE(window->LblMsg()->text(), exporting);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(filesUnder(dir.path()), QStringList());
        QCOMPARE(filesUnder(m_dir.path()), QStringList());
        QCOMPARE(syncs, syncFails ? 1 : 0);

        // 戻る is the way on.
        QTest::mouseClick(window->CmdExit(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<SetStockWindow>(u"Frm0030F"_s));
        auto* inquiry = WindowHarness::find<InquiryWindow>(u"Frm0020F"_s);
        QVERIFY(inquiry->CmdZshosai()->isEnabled());
    }

    // The box keeps its text; behind its details button it says why, and for a file where.
    void exportFailureBoxGivesTheCause_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directory"); // below the test directory
        QTest::addColumn<QString>("details");   // %1: the test directory; the reason as "…"

        QTest::newRow("directory missing")
            << u"セット1"_s << u"missing/"_s
            << u"出力先のフォルダーがありません。\nフォルダー：%1/missing/\n理由：…"_s;
        QTest::newRow("slash in the name")
            << u"セット/2"_s << QString()
            << u"セット商品のコードか名前に、ファイル名に使えない文字（\\ / : * ? \" < > | "
               u"や制御文字）があります。\n商品名：セット/2"_s;
    }

    void exportFailureBoxGivesTheCause()
    {
        QFETCH(QString, name);
        QFETCH(QString, directory);
        QFETCH(QString, details);

        QTemporaryDir dir(m_dir.filePath(u"cause-XXXXXX"_s));
        QVERIFY(dir.isValid());
        WindowHarness app;
        addStock(app, u"C1"_s, name, u"個"_s, 4, u"1"_s);
        addStock(app, u"P01"_s, u"部品A"_s, u"個"_s, 10);
        addComponent(app, u"C1"_s, u"P01"_s, 2);
        app.mainMenu->setDirectory(dir.path() + u'/' + directory);
        SetStockWindow* window = openDetails(app, u"C1"_s);
        QVERIFY(window);
        list(window);
        QTest::mouseClick(window->CmdCsvout(), Qt::LeftButton);

        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:"_s + exportFailed}));
        QCOMPARE(app.prompter.details.size(), 1);
        // The system's reason differs between systems and languages: only its line is fixed.
        QString shown = app.prompter.details.front();
        shown.replace(QRegularExpression(u"理由：.+$"_s), u"理由：…"_s);
        QCOMPARE(shown, details.contains(u"%1"_s) ? details.arg(dir.path()) : details);
    }
};

QTEST_MAIN(TestSetStockWindow)
#include "tst_SetStockWindow.moc"
