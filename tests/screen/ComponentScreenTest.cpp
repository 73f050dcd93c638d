#include "screen/ComponentScreen.h"

#include "export/ExportTexts.h"
#include "screen/ComponentScreenView.h"
#include "screen/ComponentTexts.h"
#include "support/MasterRows.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::compositionRow;
using testing::productTable;
using testing::stockRow;
using testing::stockTable;

const ComponentButtons freshButtons{true, false, false, true};
const ComponentButtons allButtons{true, true, true, true};

// Records what the screen is told, with the state it would show at each box and long step.
class RecordingView : public ComponentScreenView
{
public:
    const ComponentScreen* session = nullptr;
    QStringList events;

    void rowChanged(int row) override { events << u"row %1"_s.arg(row); }
    void scrolledToTop() override { events << u"top"_s; }
    void cursorMoved(int row, int column) override
    {
        events << u"cursor %1,%2"_s.arg(row).arg(column);
    }
    void working() override { events << u"working "_s + state(); }
    void boxesDue() override
    {
        for (const ScreenBox& box : session->pendingBoxes()) {
            events << (box.beep ? u"beep box "_s : u"box "_s) + box.text + u" with "_s + state();
        }
    }

private:
    QString state() const
    {
        const ComponentButtons b = session->buttons();
        return u"[%1|%2|%3%4%5%6]"_s.arg(session->messageLine())
            .arg(session->addableSets())
            .arg(int(b.list))
            .arg(int(b.recalculate))
            .arg(int(b.exportCsv))
            .arg(int(b.back));
    }
};

QStringList shownTexts(const ComponentScreen& session, int row)
{
    QStringList texts;
    for (int column = 0; column < componentcolumn::count; ++column) {
        texts << session.cellText(row, column);
    }
    return texts;
}

// Set S1 (stock 10) of P1 (7 in stock, 2 a set), P2 (1 in stock, 100,000 a set) and P3 (5 in
// stock, 1 a set); S2 of 101 components; S3 of a component missing from the stock master.
ProductMaster sessionProducts()
{
    ProductMaster products = productTable({
        compositionRow(u"S1"_s, u"P1"_s, 2),
        compositionRow(u"S1"_s, u"P2"_s, 100000),
        compositionRow(u"S1"_s, u"P3"_s, 1),
        compositionRow(u"S3"_s, u"P1"_s, 1),
        compositionRow(u"S3"_s, u"PX"_s, 1),
    });
    for (int i = 0; i < 101; ++i) {
        products.append(compositionRow(u"S2"_s, u"P3"_s, 1));
    }
    return products;
}

struct Tables : MasterData
{
    Tables()
        : MasterData(sessionProducts(), stockTable({
                                            stockRow(u"P1"_s, 7, u"Part1"_s, {}, u"pc"_s),
                                            stockRow(u"P2"_s, 1, u"Part2"_s, {}, u"pc"_s),
                                            stockRow(u"P3"_s, 5, u"Part3"_s, {}, u"box"_s),
                                        }))
    {}
};

struct Session
{
    Tables tables;
    RecordingView view;
    ComponentScreen session;

    explicit Session(std::optional<SetProduct> setProduct = SetProduct{u"S1"_s, u"Set"_s, u"pc"_s,
                                                                       10},
                     const QString& directory = {})
        : session(tables, std::move(setProduct), directory, &view)
    {
        view.session = &session;
    }
};

TEST(ComponentScreen, StartsWithAnEmptyListAndOnlyListingAndBackEnabled)
{
    Session s;
    EXPECT_EQ(s.session.buttons(), freshButtons);
    EXPECT_EQ(s.session.listedRows(), 0);
    EXPECT_EQ(s.session.shownRows(), 0);
    EXPECT_EQ(s.session.addableSets(), 0);
    EXPECT_FALSE(s.session.acceptedOrder().has_value());
    EXPECT_EQ(s.session.listStatus(), ListStatus::Complete);
    EXPECT_TRUE(s.session.messageLine().isEmpty());
    EXPECT_EQ(shownTexts(s.session, 1), QStringList(10, QString()));
    EXPECT_FALSE(s.session.shortageRole(1).has_value());
}

TEST(ComponentScreen, ListingShowsRowsThenTheAddableQuantityAndEnablesTheActions)
{
    Session s;
    s.session.listComponents();
    EXPECT_EQ(s.view.events,
              (QStringList{u"top"_s, u"row 1"_s, u"row 2"_s, u"row 3"_s, u"cursor 1,1"_s}));
    EXPECT_EQ(shownTexts(s.session, 2),
              (QStringList{u"2"_s, u"Part2"_s, u"P2"_s, u"1"_s, u"pc"_s, u"100,000"_s, u"0"_s,
                           u"0"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(s.session.listedRows(), 3);
    EXPECT_EQ(s.session.addableSets(), 0);
    EXPECT_TRUE(s.session.messageLine().isEmpty());
    EXPECT_EQ(s.session.buttons(), allButtons);
    EXPECT_TRUE(s.session.pendingBoxes().empty());
}

TEST(ComponentScreen, CellsAndTheAddableQuantityShowTheFiguresInTheirFormats)
{
    ComponentRow row;
    row.rowNumber = 100;
    row.productName = u"部品"_s;
    row.productCode = u"P1"_s;
    row.stockQuantity = 1234567;
    row.unit = u"個"_s;
    row.quantityPerSet = 1000;
    row.plannedShipment = std::numeric_limits<std::int32_t>::max();
    row.shortage = -1234;
    row.setsPossible = 1234567;
    row.stockNeeded = -1000;
    QStringList texts;
    for (int column = 0; column < componentcolumn::count; ++column) {
        texts << componentCellText(row, column);
    }
    // Stock, quantity a set, shipment and shortage grouped; sets and stock needed not.
    EXPECT_EQ(texts, (QStringList{u"100"_s, u"部品"_s, u"P1"_s, u"1,234,567"_s, u"個"_s, u"1,000"_s,
                                  u"2,147,483,647"_s, u"-1,234"_s, u"1234567"_s, u"-1000"_s}));

    const MasterData masters(productTable({compositionRow(u"S1"_s, u"P1"_s, 2)}),
                             stockTable({stockRow(u"P1"_s, -2469134)}));
    ComponentScreen screen(masters, SetProduct{u"S1"_s, u"Set"_s, u"pc"_s, 1234}, {});
    screen.listComponents();
    EXPECT_EQ(screen.addableText(), u"-1,234,567"_s);
    EXPECT_EQ(screen.setStockText(), u"1,234"_s);
}

TEST(ComponentScreen, ListingMessageTellsWhyTheListIsNotComplete)
{
    struct Case
    {
        std::size_t rows;
        ListStatus status;
        QStringView message;
    };
    const Case cases[] = {
        // No component found at all, whether none is listed or all are missing.
        {0, ListStatus::Incomplete, componenttexts::noComponents},
        {2, ListStatus::Incomplete, componenttexts::missingComponent},
        {100, ListStatus::Truncated, componenttexts::tooManyComponents},
        {3, ListStatus::Complete, {}},
        {2, ListStatus::Failed, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toString().toStdString());
        SetAvailability listing;
        listing.rows.resize(c.rows);
        listing.listStatus = c.status;
        EXPECT_EQ(listingMessage(listing), c.message.toString());
    }
}

TEST(ComponentScreen, BoxesComeWhileTheScreenStillShowsTheEarlierState)
{
    // 101 components: the capacity box is open before the message line and the buttons change.
    Session s(SetProduct{u"S2"_s, u"Set2"_s, u"pc"_s, 0});
    s.session.listComponents();
    EXPECT_EQ(s.view.events.size(), 103);
    EXPECT_EQ(s.view.events.at(101),
              u"box "_s + componenttexts::capacityBox.toString() + u" with [|0|1001]"_s);
    EXPECT_EQ(s.view.events.last(), u"cursor 1,1"_s);
    EXPECT_EQ(s.session.messageLine(), componenttexts::tooManyComponents.toString());
    EXPECT_EQ(s.session.listStatus(), ListStatus::Truncated);
    EXPECT_EQ(s.session.listedRows(), 100);
    EXPECT_EQ(s.session.buttons(), freshButtons);

    Session missing(SetProduct{u"S3"_s, u"Set3"_s, u"pc"_s, 0});
    missing.session.listComponents();
    EXPECT_EQ(missing.session.listStatus(), ListStatus::Incomplete);
    EXPECT_EQ(missing.session.messageLine(), componenttexts::missingComponent.toString());
    EXPECT_EQ(missing.session.addableSets(), 0);
    EXPECT_EQ(missing.session.buttons(), freshButtons);
}

TEST(ComponentScreen, RecalculationRefusesBadEntriesAndForgetsTheEarlierOrder)
{
    Session s;
    s.session.listComponents();
    EXPECT_EQ(s.session.recalculate(u"12"_s), OrderPlan::Outcome::Planned);
    EXPECT_EQ(s.session.acceptedOrder(), 12);
    s.view.events.clear();

    EXPECT_EQ(s.session.recalculate(u"0"_s), OrderPlan::Outcome::Refused);
    EXPECT_FALSE(s.session.acceptedOrder().has_value());
    EXPECT_EQ(s.view.events,
              QStringList{u"box "_s + componenttexts::noZero.toString() + u" with [|0|1111]"_s});
    EXPECT_EQ(s.session.takeBoxes(), (std::vector<ScreenBox>{{componenttexts::noZero.toString()}}));
    EXPECT_TRUE(s.session.pendingBoxes().empty());

    // Each failed check has its box; only an entry beyond 32 bits beeps, as a failure.
    const std::pair<QString, ScreenBox> refusals[] = {
        {u" "_s, {componenttexts::enterOrder.toString()}},
        {u"abc"_s, {componenttexts::enterNumber.toString()}},
        {u"-3"_s, {componenttexts::noNegative.toString()}},
        {u"3000000000"_s, {componenttexts::simulationFailed.toString(), true}},
    };
    for (const auto& [entry, box] : refusals) {
        SCOPED_TRACE(entry.toStdString());
        s.session.recalculate(entry);
        EXPECT_EQ(s.session.takeBoxes(), std::vector<ScreenBox>{box});
        EXPECT_FALSE(s.session.acceptedOrder().has_value());
    }
}

TEST(ComponentScreen, SimulationMarksShortagesAndACoveredOrderListsAfresh)
{
    Session s;
    s.session.listComponents();
    s.view.events.clear();
    // Set stock 10, order 12: 2 sets to build.
    s.session.recalculate(u"12"_s);
    EXPECT_EQ(s.view.events,
              (QStringList{u"top"_s, u"row 1"_s, u"row 2"_s, u"row 3"_s, u"cursor 1,1"_s}));
    EXPECT_EQ(shownTexts(s.session, 1).mid(6, 2), (QStringList{u"4"_s, u"0"_s}));
    EXPECT_EQ(shownTexts(s.session, 2).mid(6, 2), (QStringList{u"200,000"_s, u"-199,999"_s}));
    EXPECT_EQ(s.session.shortageRole(2), CellRole::Shortage);
    EXPECT_EQ(s.session.shortageRole(1), CellRole::Plain);

    s.session.recalculate(u"10"_s);
    EXPECT_EQ(s.session.acceptedOrder(), 10);
    EXPECT_EQ(shownTexts(s.session, 2).mid(6, 2), (QStringList{u"0"_s, u"0"_s}));
    EXPECT_EQ(s.session.shortageRole(2), CellRole::Plain);
}

TEST(ComponentScreen, RowsThatDecideTheAddableQuantityStandOutThroughSimulations)
{
    const auto marked = [](const ComponentScreen& screen) {
        QList<int> rows;
        for (int row = 1; row <= ComponentScreen::capacity; ++row) {
            if (!screen.rowEmphasis(row).isEmpty()) {
                EXPECT_EQ(screen.rowEmphasis(row), componenttexts::limitingRow.toString());
                rows << row;
            }
        }
        return rows;
    };
    Session s;
    EXPECT_TRUE(marked(s.session).isEmpty());
    s.session.listComponents();
    EXPECT_EQ(marked(s.session), QList<int>{2});
    EXPECT_EQ(s.session.limitingCodes(), std::vector<QString>{u"P2"_s});
    s.session.recalculate(u"12"_s);
    EXPECT_EQ(marked(s.session), QList<int>{2});
    s.session.recalculate(u"10"_s);
    EXPECT_EQ(marked(s.session), QList<int>{2});

    Session missing(SetProduct{u"S3"_s, u"Set3"_s, u"pc"_s, 0});
    missing.session.listComponents();
    EXPECT_TRUE(marked(missing.session).isEmpty());
    EXPECT_TRUE(missing.session.limitingCodes().empty());
}

// Fields 3 and 7 of the export belong to the figures the list shows: the order of the
// simulation whose shipments stand in it, or 0 where the list shows none.
TEST(ComponentScreen, ExportedOrderIsTheOneWhoseFiguresTheListShows)
{
    const QString pressList = u"<list>"_s; // 構成商品を表示 instead of an entry
    struct Case
    {
        QStringList steps;  // after a listing: entries for 再計算, in order
        std::string fields; // fields 3 and 7 of the first line, as "order/shortage"
    };
    // Set stock 10, additional quantity 0: field 7 is the order beyond 10.
    const Case cases[] = {
        {{}, "0/0"},
        {{u"12"_s}, "12/2"},
        {{u"12"_s, u"abc"_s}, "12/2"},
        {{u"12"_s, u" "_s}, "12/2"},
        {{u"12"_s, u"0"_s}, "12/2"},
        {{u"12"_s, u"-3"_s}, "12/2"},
        {{u"12"_s, u"3000000000"_s}, "12/2"}, // E0230 before any row is rewritten
        // E0230 at the first row's shipment: no shipment of the new order is shown.
        {{u"12"_s, u"1100000000"_s}, "12/2"},
        // E0230 after the first row's shipment: its order is the one the rows begin with.
        {{u"12"_s, u"100000"_s}, "100000/99990"},
        {{u"12"_s, u"abc"_s, u"15"_s}, "15/5"},
        {{u"abc"_s}, "0/0"},
        {{u"12"_s, u"10"_s}, "10/0"}, // covered: the plain listing is what the order needs
        {{u"12"_s, pressList}, "0/0"},
        {{u"12"_s, pressList, u"abc"_s}, "0/0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps.join(u'|').toStdString());
        Session s;
        s.session.listComponents();
        for (const QString& step : c.steps) {
            if (step == pressList) {
                s.session.listComponents();
            } else {
                s.session.recalculate(step);
            }
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        writeStockStatus(s.session.stockStatus(), buffer, *Cp932Encoder::create());
        const QByteArrayList fields = buffer.data().split('\n').at(1).split(',');
        EXPECT_EQ((fields.at(2) + '/' + fields.at(6)).toStdString(), c.fields);
    }
}

// The export of a session whose second row a failed simulation left half rewritten.
class ComponentScreenExport : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    const QDateTime stamp{QDate(2026, 1, 2), QTime(3, 4, 5)};

    QString directory() const { return dir.path() + QDir::separator(); }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

TEST_F(ComponentScreenExport, WritesTheRowsAsTheListShowsThem)
{
    Session s(SetProduct{u"S1"_s, u"Set"_s, u"pc "_s, 10}, directory());
    s.session.listComponents();
    s.session.recalculate(u"12"_s);
    // 99,990 sets to build: P1 is rewritten whole, P2 up to its quantity a set, before its
    // shipment overflows; P3 keeps the figures of the order of 12.
    EXPECT_EQ(s.session.recalculate(u"100000"_s), OrderPlan::Outcome::Failed);
    EXPECT_EQ(s.session.takeBoxes(),
              (std::vector<ScreenBox>{{componenttexts::simulationFailed.toString(), true}}));
    EXPECT_EQ(s.session.acceptedOrder(), 100000);
    EXPECT_EQ(shownTexts(s.session, 1).mid(6, 2), (QStringList{u"199,980"_s, u"-199,973"_s}));
    EXPECT_EQ(shownTexts(s.session, 2).mid(5, 3),
              (QStringList{u"100,000"_s, u"200,000"_s, u"-199,999"_s}));
    s.view.events.clear();

    const std::optional<StockStatusExport> written = s.session.exportStockStatus(stamp);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->path, directory() + u"S1_Set_260102030405.csv"_s);
    EXPECT_EQ(written->lines, 3);
    const QByteArrayList lines = contents(written->path).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], "S1,Set,100000,pc,10,0,99990,P1,Part1,7,pc,2,199980,-199973,\r");
    EXPECT_EQ(lines[2], "S1,Set,100000,pc,10,0,99990,P2,Part2,1,pc,100000,200000,-199999,\r");
    EXPECT_EQ(lines[3], "S1,Set,100000,pc,10,0,99990,P3,Part3,5,box,1,2,0,\r");

    const QString count = u"3"_s + componenttexts::exportCountAfter.toString();
    EXPECT_EQ(s.view.events,
              (QStringList{u"working ["_s + componenttexts::exporting.toString() + u"|0|0000]"_s,
                           u"cursor 3,7"_s,
                           u"box "_s + count + u" with ["_s + componenttexts::exporting.toString() +
                               u"|0|0000]"_s}));
    EXPECT_TRUE(s.session.messageLine().isEmpty());
    EXPECT_EQ(s.session.buttons(), allButtons);
}

TEST_F(ComponentScreenExport, FailureLeavesOnlyBackEnabled)
{
    Session s(SetProduct{u"S1"_s, u"Set"_s, u"pc"_s, 10}, dir.filePath(u"missing/"_s));
    s.session.listComponents();
    s.view.events.clear();
    EXPECT_FALSE(s.session.exportStockStatus(stamp).has_value());
    EXPECT_EQ(s.view.events.last(), u"beep box "_s + componenttexts::exportFailed.toString() +
                                        u" with ["_s + componenttexts::exporting.toString() +
                                        u"|0|0000]"_s);
    EXPECT_EQ(s.session.messageLine(), componenttexts::exporting.toString());
    EXPECT_EQ(s.session.buttons(), (ComponentButtons{false, false, false, true}));
}

TEST(ComponentScreen, ABlankChoiceListsNothingAndCannotBeSimulated)
{
    Session s(std::nullopt);
    s.session.listComponents();
    EXPECT_EQ(s.session.listStatus(), ListStatus::Incomplete);
    EXPECT_EQ(s.session.messageLine(), componenttexts::noComponents.toString());
    EXPECT_EQ(s.session.buttons(), freshButtons);
    EXPECT_EQ(s.session.recalculate(u"5"_s), OrderPlan::Outcome::Failed);
    EXPECT_FALSE(s.session.acceptedOrder().has_value());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(writeStockStatus(s.session.stockStatus(), buffer, *Cp932Encoder::create()),
                 ExportError);
}

TEST(ComponentScreen, AFailedListingKeepsTheEarlierFiguresAndThePartialRow)
{
    const auto stocks = [] {
        return stockTable({stockRow(u"P1"_s, 7, u"Part1"_s), stockRow(u"P3"_s, 5)});
    };
    // The session's tables are replaced under it, in the same place: its next listing reads
    // the new ones.
    std::optional<MasterData> masters;
    masters.emplace(
        productTable({compositionRow(u"S1"_s, u"P1"_s, 2), compositionRow(u"S1"_s, u"P3"_s, 1)}),
        stocks());
    ComponentScreen session(*masters, SetProduct{u"S1"_s, u"Set"_s, u"pc"_s, 10}, {});
    session.listComponents();
    ASSERT_EQ(session.addableSets(), 3);

    // Other tables give P3 a quantity a set of 0: the listing fails at its row.
    masters.reset();
    masters.emplace(
        productTable({compositionRow(u"S1"_s, u"P1"_s, 2), compositionRow(u"S1"_s, u"P3"_s, 0)}),
        stocks());
    session.listComponents();
    EXPECT_EQ(session.listStatus(), ListStatus::Failed);
    EXPECT_EQ(session.takeBoxes(),
              (std::vector<ScreenBox>{{componenttexts::listingFailed.toString(), true}}));
    EXPECT_EQ(session.addableSets(), 3);
    EXPECT_EQ(session.listedRows(), 2);
    EXPECT_TRUE(session.messageLine().isEmpty());
    EXPECT_EQ(shownTexts(session, 2).mid(5), (QStringList{u"0"_s, u"0"_s, u"0"_s, u"5"_s, u"5"_s}));
    EXPECT_EQ(session.buttons(), allButtons);
    const StockStatus status = session.stockStatus();
    ASSERT_EQ(status.lines.size(), 2u);
    EXPECT_EQ(status.lines[1].perSet, 0);
    EXPECT_EQ(status.addable, 3);
}

TEST(ComponentScreen, ARunTimeFailureLeavesOneHalfWrittenRowUntilTheRowIsWrittenWhole)
{
    constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();
    struct Case
    {
        const char* name;
        std::int32_t stock; // of the second component
        std::int32_t perSet;
        QString order; // empty: the listing itself fails
        HalfWrittenRow halfWritten;
        QStringList secondRowFromShipment; // columns 6 to 9 of row 2
    };
    const Case cases[] = {
        {"listing, 0 per set", 5, 0, {}, {2, 8, true}, {u"0"_s, u"0"_s, u""_s, u""_s}},
        {"listing, sets beyond 32 bits",
         int32Min,
         -1,
         {},
         {2, 8, true},
         {u"0"_s, u"0"_s, u""_s, u""_s}},
        // The cells the plan did not reach keep the listing's figures.
        {"plan, shipment overflows",
         1,
         100000,
         u"30000"_s,
         {2, 6, false},
         {u"0"_s, u"0"_s, u"0"_s, u"0"_s}},
        {"plan, remaining overflows",
         -2,
         1,
         u"2147483647"_s,
         {2, 7, false},
         {u"2,147,483,647"_s, u"0"_s, u"-2"_s, u"-2"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MasterData masters(productTable({compositionRow(u"S1"_s, u"P1"_s, 1),
                                               compositionRow(u"S1"_s, u"P2"_s, c.perSet)}),
                                 stockTable({stockRow(u"P1"_s, 100), stockRow(u"P2"_s, c.stock)}));
        ComponentScreen screen(masters, SetProduct{u"S1"_s, u"Set"_s, u"pc"_s, 0}, {});
        screen.listComponents();
        if (!c.order.isEmpty()) {
            ASSERT_EQ(screen.listStatus(), ListStatus::Complete);
            EXPECT_FALSE(screen.halfWrittenRow().has_value());
            EXPECT_EQ(screen.recalculate(c.order), OrderPlan::Outcome::Failed);
        }
        EXPECT_EQ(screen.halfWrittenRow(), c.halfWritten);
        EXPECT_EQ(shownTexts(screen, 2).mid(6), c.secondRowFromShipment);
        EXPECT_EQ(screen.shortageRole(2), CellRole::Plain);
        if (!c.order.isEmpty()) {
            // The rows before it carry the failing order's shipments.
            EXPECT_EQ(screen.cellText(1, componentcolumn::shipment),
                      c.order.toInt() > 99999 ? u"2,147,483,647"_s : u"30,000"_s);
            EXPECT_EQ(screen.recalculate(u"1"_s), OrderPlan::Outcome::Planned);
            EXPECT_FALSE(screen.halfWrittenRow().has_value());
        }
    }
}

} // namespace
} // namespace setzaiko
