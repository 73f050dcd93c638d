#include "screen/InquiryScreen.h"

#include "screen/InquiryTexts.h"
#include "support/MasterRows.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::stockRow;
using testing::stockTable;

// What the inquiry shows after one search: the rows' texts, the boxes and the message line.
struct Shown
{
    std::vector<QStringList> rows;
    QString limitBox;
    QString limitLine;
    std::optional<SetProduct> selection;
    InquiryButtons buttons;
};

Shown searched(const StockMaster& stocks, const QString& code, const QString& name)
{
    InquiryScreen screen;
    screen.search(stocks, code, name);
    Shown shown;
    for (int row = 1; row <= screen.listedRows(); ++row) {
        shown.rows.push_back(screen.rowTexts(row));
    }
    for (const ScreenBox& box : screen.takeBoxes()) {
        shown.limitBox += box.text;
    }
    shown.limitLine = screen.messageLine();
    shown.selection = screen.selection();
    shown.buttons = screen.buttons();
    return shown;
}

// `count` set products S1, S2, ... with a component row between every two of them.
StockMaster manySets(int count)
{
    StockMaster stocks;
    for (int i = 1; i <= count; ++i) {
        stocks.append(stockRow(u"S%1"_s.arg(i), i, u"セット"_s, u"1"_s));
        stocks.append(stockRow(u"S%1"_s.arg(i), i, u"セット"_s, u"0"_s));
    }
    return stocks;
}

TEST(InquiryScreen, ListsOnlySetProductsInTableOrderWithTheirCellTexts)
{
    const StockMaster stocks = stockTable({
        stockRow(u"S1"_s, 1234567, u"セットA"_s, u"1"_s, u"箱"_s, u"備考1"_s),
        stockRow(u"P1"_s, 5, u"部品"_s, u""_s, u"個"_s),
        stockRow(u"S2"_s, 0, u"セットB"_s, u"1"_s, u"組"_s),
        stockRow(u"S3"_s, 1, u"x"_s, u" 1"_s),
        stockRow(u"S4"_s, 1, u"x"_s, u"01"_s),
        stockRow(u"S5"_s, 1, u"x"_s, u"１"_s),
        stockRow(u"S6"_s, -1234, u"セットC"_s, u"1"_s),
    });
    const Shown result = searched(stocks, u"  "_s, u"　"_s);

    EXPECT_TRUE(result.limitBox.isEmpty());
    EXPECT_TRUE(result.limitLine.isEmpty());
    EXPECT_EQ(result.buttons, (InquiryButtons{true, true, true}));
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0], (QStringList{u"1"_s, u"セットA"_s, u"S1"_s, u"1,234,567"_s, u"箱"_s,
                                           u"備考1"_s, u""_s}));
    EXPECT_EQ(result.rows[1],
              (QStringList{u"2"_s, u"セットB"_s, u"S2"_s, u"0"_s, u"組"_s, u""_s, u""_s}));
    EXPECT_EQ(result.rows[2][3], u"-1,234"_s);
    EXPECT_EQ(result.selection, (SetProduct{u"S1"_s, u"セットA"_s, u"箱"_s, 1234567}));
}

TEST(InquiryScreen, StopsAtTheHundredthRowWithTheNoticeOfItsKind)
{
    struct Case
    {
        const char* name;
        int sets;
        QString code;
        bool limit;
        QStringView box;
    };
    const Case cases[] = {
        {"100 of all", 100, u""_s, false, {}},
        {"101 of all", 101, u""_s, true, inquirytexts::limitBoxAll},
        {"100 matches", 100, u"S"_s, false, {}},
        {"101 matches", 101, u"S"_s, true, inquirytexts::limitBoxFiltered},
        {"150 matches", 150, u"S"_s, true, inquirytexts::limitBoxFiltered},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StockMaster stocks = manySets(c.sets);
        // After the hundredth row, rows that are not listed never count: a component, or a
        // set product that the search does not match.
        stocks.append(stockRow(u"T1"_s, 1, u"x"_s, c.code.isEmpty() ? u"0"_s : u"1"_s));
        const Shown result = searched(stocks, c.code, {});

        ASSERT_EQ(result.rows.size(), 100u);
        EXPECT_EQ(result.rows[99][0], u"100"_s);
        EXPECT_EQ(result.rows[99][2], u"S100"_s);
        EXPECT_EQ(result.limitBox, c.box.toString());
        EXPECT_EQ(result.limitLine, c.limit ? inquirytexts::limitLine.toString() : QString());
        ASSERT_TRUE(result.selection.has_value());
        EXPECT_EQ(result.selection->code, u"S1"_s);
    }
}

TEST(InquiryScreen, NothingFoundSelectsFourEmptyTexts)
{
    for (const StockMaster& stocks : {StockMaster(), manySets(3)}) {
        const Shown result = searched(stocks, u"nothing"_s, {});
        EXPECT_TRUE(result.rows.empty());
        EXPECT_TRUE(result.limitBox.isEmpty());
        EXPECT_EQ(result.buttons, (InquiryButtons{true, true, true}));
        EXPECT_FALSE(result.selection.has_value());
    }
}

TEST(InquiryScreen, ButtonsAndSelectionFollowTheSteps)
{
    const StockMaster stocks = manySets(2);
    InquiryScreen screen;
    EXPECT_EQ(screen.buttons(), (InquiryButtons{true, false, true}));
    EXPECT_FALSE(screen.selection().has_value());

    screen.search(stocks, {}, {});
    EXPECT_EQ(screen.buttons(), (InquiryButtons{true, true, true}));
    EXPECT_EQ(screen.selection()->code, u"S1"_s);
    screen.selectRow(2);
    EXPECT_EQ(screen.selection()->code, u"S2"_s);
    screen.selectRow(3); // below the list: nothing to hand over
    EXPECT_FALSE(screen.selection().has_value());
    EXPECT_EQ(screen.selectedRow(), 3);
    EXPECT_EQ(screen.rowTexts(3), QStringList(InquiryScreen::columnCount(), QString()));

    screen.detailsOpened();
    EXPECT_EQ(screen.buttons(), (InquiryButtons{false, false, false}));
    screen.detailsClosed();
    EXPECT_EQ(screen.buttons(), (InquiryButtons{true, true, true}));
    // While the combined order is open the inquiry stays usable to pick sets, but not to leave.
    screen.combinedOpened();
    EXPECT_EQ(screen.buttons(), (InquiryButtons{true, true, false, false}));
    screen.detailsOpened();
    EXPECT_EQ(screen.buttons(), (InquiryButtons{false, false, false, false}));
    screen.detailsClosed();
    screen.combinedClosed();
    EXPECT_EQ(screen.buttons(), (InquiryButtons{true, true, true, true}));

    for (int column = 0; column < InquiryScreen::columnCount(); ++column) {
        EXPECT_EQ(InquiryScreen::picksRow(column), column >= 1 && column <= 5) << column;
    }
}

} // namespace
} // namespace setzaiko
