#include "screen/ImportScreen.h"

#include "support/MasterRows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {
namespace {

using testing::compositionRow;
using testing::productTable;
using testing::stockRow;
using testing::stockTable;

// A run's result with a book of the given numbers of rows, as the import hands it over.
ImportResult ranInto(ImportOutcome outcome, std::int32_t products, std::int32_t stocks,
                     const QString& path = u"/data/book.xls"_s)
{
    std::vector<NewProductRow> productRows;
    for (std::int32_t i = 0; i < products; ++i) {
        productRows.push_back(compositionRow(u"S"_s + QString::number(i), u"P1"_s, 1));
    }
    std::vector<NewStockRow> stockRows;
    for (std::int32_t i = 0; i < stocks; ++i) {
        stockRows.push_back(stockRow(u"P"_s + QString::number(i), 1));
    }
    ImportResult result;
    result.outcome = outcome;
    result.counts = ImportCounts{products, stocks};
    result.book =
        std::make_shared<const ImportedBook>(productTable(productRows), stockTable(stockRows), path,
                                             outcome, ImportStatus::Ok, result.counts);
    return result;
}

TEST(ImportScreen, EachOutcomeShowsItsLineBoxAndButtons)
{
    constexpr ImportButtons chooseAgain{true, false, true};
    struct Case
    {
        const char* name;
        ImportResult result;
        QString line;
        std::optional<ScreenBox> box;
        std::optional<ImportButtons> buttons;
    };
    ImportResult refused;
    ImportResult failed = ranInto(ImportOutcome::Failed, 2, 0);
    failed.failureDetail = u"cause\ndetail"_s;
    const std::vector<Case> cases = {
        {"refused: beep and box, nothing else touched",
         refused,
         {},
         ScreenBox{u"ファイルを選択してください"_s, true},
         std::nullopt},
        {"over limit", ranInto(ImportOutcome::OverLimit, 1, 1),
         u"取込エラー：9,999,999を超える在庫数が存在します。"_s, std::nullopt, chooseAgain},
        {"not numeric", ranInto(ImportOutcome::NotNumeric, 1, 1),
         u"取込エラー：在庫数に数字以外の項目が存在します。"_s, std::nullopt, chooseAgain},
        {"no rows at all", ranInto(ImportOutcome::NoRows, 0, 0),
         u"商品マスタ、在庫マスタが0件です。EXCELファイルを確認してください。"_s, std::nullopt,
         chooseAgain},
        {"no product rows", ranInto(ImportOutcome::NoRows, 0, 3),
         u"商品マスタが0件です。EXCELファイルを確認してください。"_s, std::nullopt, chooseAgain},
        {"no stock rows", ranInto(ImportOutcome::NoRows, 3, 0),
         u"在庫マスタが0件です。EXCELファイルを確認してください。"_s, std::nullopt, chooseAgain},
        {"success: the total without separators, no beep", ranInto(ImportOutcome::Success, 1, 1233),
         u"EXCELより商品・在庫データを取込みました。「戻る」を押下してください"_s,
         ScreenBox{u"合計 1234 件のデータを抽出しました"_s}, ImportButtons{true, true, true}},
        {"failure: fixed text, the cause behind details, only 戻る", failed,
         u"取込みエラーが発生しました"_s,
         ScreenBox{u"取込みエラーが発生しました"_s, true, u"cause\ndetail"_s},
         ImportButtons{false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportScreen screen = ImportScreen::after(c.result);
        EXPECT_EQ(screen.messageLine, c.line);
        EXPECT_EQ(screen.box, c.box);
        EXPECT_EQ(screen.buttons, c.buttons);
        EXPECT_EQ(screen.counts, c.result.counts);
        // Only a success makes its buttons usable while its box is up.
        EXPECT_EQ(screen.buttonsBeforeBox, c.result.outcome == ImportOutcome::Success);
    }
}

TEST(ImportScreen, CountsAreGroupedOnTheLabels)
{
    EXPECT_EQ(countText(1234), u"1,234"_s);
    EXPECT_EQ(countText(0), u"0"_s);
}

TEST(ImportScreen, HandedBackFolderIsTheBooksWhenTheChosenWorkbookWasRead)
{
    const ImportResult read = ranInto(ImportOutcome::Success, 1, 1, u"/data/book.xls"_s);
    const ImportedBook& book = *read.book;
    struct Case
    {
        const char* name;
        QString chosenPath;
        QString chosenDirectory;
        QString folder;
    };
    const Case cases[] = {
        {"the chosen workbook was read", u"/data/book.xls"_s, u"/data/"_s, book.folder()},
        {"the chooser's directory list never moved", u"/data/book.xls"_s, QString(), QString()},
        {"chosen after the import, not read", u"/other/next.xls"_s, u"/other/"_s, u"/other/"_s},
        {"nothing chosen in this opening", QString(), QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(handedBackFolder(book, c.chosenPath, c.chosenDirectory), c.folder);
    }
}

} // namespace
} // namespace setzaiko
