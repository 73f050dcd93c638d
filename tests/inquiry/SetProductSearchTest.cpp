#include "inquiry/SetProductSearch.h"

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
    for (const FoundSetProduct& found : result.found) {
        codes << found.product.code;
    }
    return codes;
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

TEST(SetProductSearch, FindsTheFirstSetProductOfACodeExactly)
{
    const StockMaster stocks = stockTable({
        stockRow(u"S1"_s, 1, u"部品"_s, u"0"_s),
        stockRow(u"S1"_s, 2, u"セット"_s, u"1"_s, u"箱"_s),
        stockRow(u"S1"_s, 3, u"二つ目"_s, u"1"_s),
        stockRow(u"S2"_s, 4, u"部品"_s, u""_s),
    });
    EXPECT_EQ(findSetProduct(stocks, u"S1"_s), (SetProduct{u"S1"_s, u"セット"_s, u"箱"_s, 2}));
    for (const QString& code : {u"S2"_s, u"s1"_s, u"S1 "_s, u"S"_s, QString()}) {
        EXPECT_FALSE(findSetProduct(stocks, code).has_value()) << code.toStdString();
    }
}

} // namespace
} // namespace setzaiko
