#include "inquiry/SetProductSearch.h"

#include "inquiry/InquiryTexts.h"
#include "support/MasterRows.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::stockRow;
using testing::stockTable;

QStringList codesOf(const SetProductSearchResult& result)
{
    QStringList codes;
    for (const SetProductListRow& row : result.rows) {
        codes << row[2];
    }
    return codes;
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

TEST(SetProductSearch, ListsOnlySetProductsInTableOrderWithTheirCellTexts)
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
    const SetProductSearchResult result = searchSetProducts(stocks, u"  "_s, u"　"_s);

    EXPECT_FALSE(result.filtered);
    EXPECT_FALSE(result.limitReached);
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0], (SetProductListRow{u"1"_s, u"セットA"_s, u"S1"_s, u"1,234,567"_s,
                                                 u"箱"_s, u"備考1"_s, u""_s}));
    EXPECT_EQ(result.rows[1],
              (SetProductListRow{u"2"_s, u"セットB"_s, u"S2"_s, u"0"_s, u"組"_s, u""_s, u""_s}));
    EXPECT_EQ(result.rows[2][3], u"-1,234"_s);
    EXPECT_EQ(result.selection, (SetProduct{u"S1"_s, u"セットA"_s, u"箱"_s, 1234567}));
    ASSERT_EQ(result.products.size(), result.rows.size());
    EXPECT_EQ(result.products.front(), result.selection);
}

TEST(SetProductSearch, MatchesContiguousPiecesExactly)
{
    const StockMaster stocks = stockTable({
        stockRow(u"A01"_s, 1, u"赤いセット"_s, u"1"_s),
        stockRow(u"XA01"_s, 1, u"青いセット"_s, u"1"_s),
        stockRow(u"A012"_s, 1, u"赤い箱"_s, u"1"_s),
        stockRow(u"a01"_s, 1, u"せっと"_s, u"1"_s),
        stockRow(u"Ａ01"_s, 1, u"セット"_s, u"1"_s),
        stockRow(u"A01"_s, 1, u"赤いセット"_s, u""_s), // a component, never listed
        stockRow(u"W*1"_s, 1, u"100%"_s, u"1"_s),
        stockRow(u"W_1"_s, 1, u""_s, u"1"_s),
        stockRow(u"\tA01"_s, 1, u"タブ"_s, u"1"_s),
    });
    struct Case
    {
        QString code;
        QString name;
        QStringList expected;
    };
    const Case cases[] = {
        {u"A01"_s, u""_s, {u"A01"_s, u"XA01"_s, u"A012"_s, u"\tA01"_s}},
        {u"A01  "_s, u""_s, {u"A01"_s, u"XA01"_s, u"A012"_s, u"\tA01"_s}},
        {u"A01　"_s, u" "_s, {u"A01"_s, u"XA01"_s, u"A012"_s, u"\tA01"_s}},
        {u" A01"_s, u""_s, {}},
        {u"\tA01"_s, u""_s, {u"\tA01"_s}},
        {u"a01"_s, u""_s, {u"a01"_s}},
        {u"Ａ"_s, u""_s, {u"Ａ01"_s}},
        {u""_s, u"セット"_s, {u"A01"_s, u"XA01"_s, u"Ａ01"_s}},
        {u""_s, u"せっと"_s, {u"a01"_s}},
        {u"A01"_s, u"赤い"_s, {u"A01"_s, u"A012"_s}},
        {u"XA"_s, u"赤い"_s, {}},
        {u"*"_s, u""_s, {u"W*1"_s}},
        {u"_"_s, u""_s, {u"W_1"_s}},
        {u""_s, u"%"_s, {u"W*1"_s}},
        {u"?"_s, u""_s, {}},
        // An empty name is no obstacle to a code search.
        {u"W"_s, u""_s, {u"W*1"_s, u"W_1"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.code + u'|' + c.name).toStdString());
        const SetProductSearchResult result = searchSetProducts(stocks, c.code, c.name);
        EXPECT_TRUE(result.filtered);
        EXPECT_EQ(codesOf(result), c.expected);
        EXPECT_FALSE(result.limitReached);
    }
}

TEST(SetProductSearch, StopsAtTheHundredthRowWithTheNoticeOfItsKind)
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
        const SetProductSearchResult result = searchSetProducts(stocks, c.code, {});

        ASSERT_EQ(result.rows.size(), 100u);
        EXPECT_EQ(result.rows[99][0], u"100"_s);
        EXPECT_EQ(result.rows[99][2], u"S100"_s);
        EXPECT_EQ(result.limitReached, c.limit);
        EXPECT_EQ(result.limitBox, c.box.toString());
        EXPECT_EQ(result.limitLine, c.limit ? inquirytexts::limitLine.toString() : QString());
        ASSERT_TRUE(result.selection.has_value());
        EXPECT_EQ(result.selection->code, u"S1"_s);
    }
}

TEST(SetProductSearch, NothingFoundSelectsFourEmptyTexts)
{
    for (const StockMaster& stocks : {StockMaster(), manySets(3)}) {
        const SetProductSearchResult result = searchSetProducts(stocks, u"nothing"_s, {});
        EXPECT_TRUE(result.rows.empty());
        EXPECT_FALSE(result.limitReached);
        EXPECT_FALSE(result.selection.has_value());
        EXPECT_TRUE(result.products.empty());
    }
}

} // namespace
} // namespace setzaiko
