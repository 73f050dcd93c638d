#include "master/ProductMaster.h"
#include "master/StockMaster.h"
#include "support/MasterRows.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

TEST(MasterTable, StartsEmptyAndKeepsAppendOrder)
{
    StockMaster stocks;
    EXPECT_EQ(stocks.count(), 0);
    for (int i = 0; i < 3; ++i) {
        NewStockRow row;
        row.productCode = u"P%1"_s.arg(i);
        stocks.append(row);
    }
    ASSERT_EQ(stocks.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stocks.row(i).productCode, u"P%1"_s.arg(i));
    }
}

TEST(MasterTable, EmptyingLeavesNothingReadable)
{
    ProductMaster products;
    products.append(NewProductRow{u"S1"_s, {}, {}, {}, {}, u"P1"_s, {}, 2, {}});
    products.append(NewProductRow{u"S1"_s, {}, {}, {}, {}, u"P2"_s, {}, 3, {}});
    products.empty();
    EXPECT_EQ(products.count(), 0);
    products.append(NewProductRow{u"S2"_s, {}, {}, {}, {}, u"P3"_s, {}, 4, {}});
    ASSERT_EQ(products.count(), 1);
    EXPECT_EQ(products.row(0).componentCode, u"P3"_s);
}

// Large tables: every row keeps its place across the storage's internal blocks, a row once
// appended never moves, and emptying a large table starts it afresh.
TEST(MasterTable, LargeTablesKeepEveryRowInPlace)
{
    StockMaster stocks;
    const StockMasterRow* first = nullptr;
    for (int round = 0; round < 2; ++round) {
        const int rows = round == 0 ? 70000 : 2049;
        for (int i = 0; i < rows; ++i) {
            StockMasterRow row;
            row.stockQuantity = i;
            stocks.append(std::move(row));
            if (i == 0) {
                first = &stocks.row(0);
            }
        }
        ASSERT_EQ(stocks.count(), rows);
        EXPECT_EQ(&stocks.row(0), first);
        int misplaced = 0;
        for (int i = 0; i < rows; ++i) {
            misplaced += stocks.row(i).stockQuantity != i;
        }
        EXPECT_EQ(misplaced, 0);
        stocks.empty();
        EXPECT_EQ(stocks.count(), 0);
    }
}

// A row's texts live as long as any copy of its table: a copy outlives the table it was made
// from, appends of its own move none of them, and the workbook texts a table keeps stay with it.
TEST(MasterTable, CopiesKeepTheTextsTheirRowsPointTo)
{
    auto kept = std::make_shared<const QString>(u"部品A"_s);
    std::optional<StockMaster> original(std::in_place);
    original->append(setzaiko::testing::stockRow(u"P1"_s, 0, u"名前"_s, u"1"_s));
    StockMasterRow fromWorkbook;
    fromWorkbook.productCode = TableText(kept.get());
    original->texts().keep(kept);
    original->append(fromWorkbook);
    StockMaster copy = *original;
    original.reset();
    kept.reset();
    for (int i = 0; i < 5000; ++i) {
        copy.append(setzaiko::testing::stockRow(u"Q%1"_s.arg(i), i));
    }
    EXPECT_EQ(copy.row(0).productCode, u"P1"_s);
    EXPECT_EQ(copy.row(0).productName, u"名前"_s);
    EXPECT_TRUE(copy.row(0).isSetProduct());
    EXPECT_EQ(copy.row(1).productCode, u"部品A"_s);
    EXPECT_TRUE(copy.row(1).productName.isEmpty());
    EXPECT_EQ(copy.row(5001).productCode, u"Q4999"_s);
}

TEST(StockMasterRow, OnlyExactlyOneMarksASetProduct)
{
    const struct
    {
        QString flag;
        bool set;
    } cases[] = {{u"1"_s, true},     {u" 1"_s, false}, {u"01"_s, false}, {u"１"_s, false},
                 {QString(), false}, {u"0"_s, false},  {u"11"_s, false}};
    for (const auto& c : cases) {
        TableTexts texts;
        const StockMasterRow row =
            StockMasterRow::from(setzaiko::testing::stockRow({}, 0, {}, c.flag), texts);
        EXPECT_EQ(row.isSetProduct(), c.set) << c.flag.toStdString();
    }
}

// The code index against a plain scan: every code's first row and its rows in table order,
// after each of several rounds of appends and after emptying.
TEST(MasterTable, CodeIndexFindsWhatAScanFinds)
{
    ProductMaster products;
    const QStringList codes = {u"S1"_s, u"s1"_s, u"Ｓ1"_s, u""_s, u"S1 "_s, u"セット"_s, u"S10"_s};
    const auto scan = [&](const QString& code) {
        std::vector<std::int32_t> rows;
        for (std::int32_t i = 0; i < products.count(); ++i) {
            if (products.row(i).setCode == code) {
                rows.push_back(i);
            }
        }
        return rows;
    };
    const auto indexed = [&](const QString& code) {
        std::vector<std::int32_t> rows;
        for (std::int32_t i = products.firstRowOf(code); i >= 0; i = products.codeIndex().next(i)) {
            rows.push_back(i);
        }
        return rows;
    };
    std::uint32_t state = 7;
    for (const int rounds : {3000, 1, 40000}) {
        for (int i = 0; i < rounds; ++i) {
            state = state * 1103515245u + 12345u;
            const QString code = (state >> 8) % 3 == 0
                                     ? codes[static_cast<qsizetype>((state >> 12) % codes.size())]
                                     : u"P%1"_s.arg((state >> 12) % 5000);
            products.append(NewProductRow{code, {}, {}, {}, {}, {}, {}, i, {}});
        }
        EXPECT_EQ(products.firstRowOf(u"S1"_s), -1); // not indexed since the appends
        products.buildCodeIndex();
        for (const QString& code : codes + QStringList{u"P0"_s, u"P4999"_s, u"P5000"_s}) {
            SCOPED_TRACE(code.toStdString());
            EXPECT_EQ(indexed(code), scan(code));
        }
    }
    products.empty();
    EXPECT_EQ(products.firstRowOf(u"S1"_s), -1);
}

// A text handed in again (a copy sharing its characters) is kept once; texts equal in content
// but not shared, and texts of different lengths, each read back as themselves.
TEST(TableTexts, RepeatsAreKeptOnceAndEveryTextReadsBack)
{
    TableTexts texts;
    const QString kinds[] = {u"通常"_s, u"限定"_s, u"通常品"_s};
    std::vector<std::pair<TableText, QString>> kept;
    for (int i = 0; i < 300; ++i) {
        const QString text = i % 4 == 3 ? u"P%1"_s.arg(i % 7) : kinds[i % 4 % 3];
        kept.emplace_back(texts.own(text), text);
    }
    int mismatches = 0;
    for (const auto& [field, text] : kept) {
        mismatches += field != text;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_NE(&kept[3].first.text(), &kept[31].first.text()); // "P3" made twice
    const QString name = u"名前"_s.repeated(2);
    EXPECT_EQ(&texts.own(name).text(), &texts.own(name).text()); // the same shared text
    EXPECT_TRUE(texts.own(QString()).isEmpty());
}
