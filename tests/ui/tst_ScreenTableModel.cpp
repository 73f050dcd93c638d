#include "screen/ComponentScreen.h"
#include "screen/InquiryScreen.h"
#include "support/MasterRows.h"
#include "ui/ScreenTableModel.h"

#include <QBrush>
#include <QFont>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::compositionRow;
using testing::productTable;
using testing::stockRow;
using testing::stockTable;

// Set S1 (10 in stock) of P1 (7 in stock, 2 a set) and P2 (1 in stock, 100,000 a set).
struct Tables : MasterData
{
    Tables()
        : MasterData(productTable({compositionRow(u"S1"_s, u"P1"_s, 2),
                                   compositionRow(u"S1"_s, u"P2"_s, 100000)}),
                     stockTable({stockRow(u"S1"_s, 10, u"Set"_s, u"1"_s, u"pc"_s, u"note"_s),
                                 stockRow(u"P1"_s, 7, u"Part1"_s, {}, u"pc"_s),
                                 stockRow(u"P2"_s, 1, u"Part2"_s, {}, u"pc"_s)}))
    {}
};

QColor colourOf(const QVariant& brush)
{
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

} // namespace

class ScreenTableModelTest : public QObject
{
    Q_OBJECT

private slots:
    void inquiryCells_data();
    void inquiryCells();
    void inquirySearchIsTold();
    void componentLooks_data();
    void componentLooks();
};

void ScreenTableModelTest::inquiryCells_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<int>("column"); // -1 for a header
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    QTest::newRow("heading of the first data column")
        << 0 << Qt::Horizontal << -1 << u"b"_s << int(Qt::AlignCenter);
    QTest::newRow("fixed cell of row 1") << 0 << Qt::Vertical << -1 << u"1"_s << right;
    QTest::newRow("fixed cell below the list") << 1 << Qt::Vertical << -1 << QString() << left;
    QTest::newRow("name") << 0 << Qt::Vertical << 0 << u"Set"_s << left;
    QTest::newRow("code") << 0 << Qt::Vertical << 1 << u"S1"_s << left;
    QTest::newRow("stock") << 0 << Qt::Vertical << 2 << u"10"_s << right;
    QTest::newRow("last column") << 0 << Qt::Vertical << 5 << QString() << left;
    QTest::newRow("below the list") << 1 << Qt::Vertical << 0 << QString() << left;
}

void ScreenTableModelTest::inquiryCells()
{
    QFETCH(int, section);
    QFETCH(Qt::Orientation, orientation);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, alignment);
    const Tables tables;
    InquiryScreen screen;
    ScreenTableModel model(screen, {u"a"_s, u"b"_s, u"c"_s}, nullptr);
    model.setSpokenHeading(1, u"C spoken"_s);
    screen.search(tables.stocks(), {}, {});

    QCOMPARE(model.rowCount(), InquiryScreen::capacity);
    QCOMPARE(model.columnCount(), InquiryScreen::columnCount() - 1);
    QCOMPARE(model.fixedHeading(), u"a"_s);
    const auto value = [&](int role) {
        return column < 0 ? model.headerData(section, orientation, role)
                          : model.data(model.index(section, column), role);
    };
    QCOMPARE(value(Qt::DisplayRole).toString(), text);
    QCOMPARE(value(Qt::TextAlignmentRole).toInt(), alignment);
    QVERIFY(!value(Qt::ForegroundRole).isValid());
    // A screen reader hears the headings as shown, or their spoken names where set.
    if (column < 0 && orientation == Qt::Horizontal) {
        QCOMPARE(value(Qt::AccessibleTextRole).toString(), text);
        QCOMPARE(model.headerData(1, orientation, Qt::AccessibleTextRole).toString(),
                 u"C spoken"_s);
    }
}

void ScreenTableModelTest::inquirySearchIsTold()
{
    const Tables tables;
    InquiryScreen screen;
    ScreenTableModel model(screen, {}, nullptr);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    screen.search(tables.stocks(), {}, {});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(0, 0));
    QCOMPARE(changed[0][1].toModelIndex(), model.index(InquiryScreen::capacity - 1, 5));
}

void ScreenTableModelTest::componentLooks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("limits"); // P2's stock allows the fewest sets: its row stands out
    QTest::addColumn<QString>("description"); // what a screen reader hears besides the text
    const int shortage = componentcolumn::shortage - 1;
    const QString limiting = u"この構成商品が追加可能数量を決めています"_s;
    QTest::newRow("component that suffices")
        << 0 << shortage << QColor(Qt::black) << QColor(Qt::white) << false << QString();
    QTest::newRow("component that falls short")
        << 1 << shortage << QColor(Qt::red) << QColor(Qt::yellow) << true
        << u"short。"_s + limiting;
    QTest::newRow("other column") << 1 << shortage - 1 << QColor() << QColor() << true << limiting;
    QTest::newRow("below the list") << 2 << shortage << QColor() << QColor() << false << QString();
}

void ScreenTableModelTest::componentLooks()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(bool, limits);
    QFETCH(QString, description);
    const Tables tables;
    ComponentScreen screen(tables, SetProduct{u"S1"_s, u"Set"_s, u"pc"_s, 10}, {});
    ScreenTableModel model(screen, {}, nullptr);
    model.setShortageDescription(u"short"_s);
    screen.listComponents();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    screen.recalculate(u"12"_s);

    QCOMPARE(changed.count(), 2); // one per row written
    QCOMPARE(model.rowCount(), ComponentScreen::capacity);
    QCOMPARE(model.columnCount(), componentcolumn::count - 1);
    const QModelIndex cell = model.index(row, column);
    QCOMPARE(colourOf(model.data(cell, Qt::ForegroundRole)), text);
    QCOMPARE(colourOf(model.data(cell, Qt::BackgroundRole)), background);
    const QVariant font = model.data(cell, Qt::FontRole);
    QCOMPARE(font.isValid() && font.value<QFont>().bold(), limits);
    QCOMPARE(model.data(cell, Qt::AccessibleDescriptionRole).toString(), description);
}

} // namespace setzaiko

QTEST_GUILESS_MAIN(setzaiko::ScreenTableModelTest)
#include "tst_ScreenTableModel.moc"
