#include "screen/ImportScreen.h"

#include "common/NumberFormat.h"
#include "screen/ImportTexts.h"

namespace setzaiko {

namespace {

// Offences and zero rows: 参照 again before the next import.
constexpr ImportButtons chooseAgain{true, false, true};

QString noRowsLine(const ImportedBook* book)
{
    const bool noProducts = !book || book->products().count() == 0;
    const bool noStocks = !book || book->stocks().count() == 0;
    if (noProducts && noStocks) {
        return importtexts::bothEmpty.toString();
    }
    return noProducts ? importtexts::productsEmpty.toString() : importtexts::stocksEmpty.toString();
}

QString totalBox(const ImportedBook* book)
{
    const std::int64_t total =
        book ? std::int64_t{book->products().count()} + book->stocks().count() : 0;
    return importtexts::totalBoxBefore.toString() + QString::number(total) +
           importtexts::totalBoxAfter.toString();
}

} // namespace

ImportScreen ImportScreen::after(const ImportResult& result)
{
    ImportScreen screen;
    screen.counts = result.counts;
    const ImportedBook* book = result.book.get();
    switch (result.outcome) {
    case ImportOutcome::Refused:
        screen.box = ScreenBox{importtexts::selectFile.toString(), true};
        break;
    case ImportOutcome::OverLimit:
        screen.messageLine = importtexts::overLimit.toString();
        screen.buttons = chooseAgain;
        break;
    case ImportOutcome::NotNumeric:
        screen.messageLine = importtexts::notNumeric.toString();
        screen.buttons = chooseAgain;
        break;
    case ImportOutcome::NoRows:
        screen.messageLine = noRowsLine(book);
        screen.buttons = chooseAgain;
        break;
    case ImportOutcome::Success:
        screen.box = ScreenBox{totalBox(book)};
        screen.messageLine = importtexts::success.toString();
        screen.buttons = ImportButtons{true, true, true};
        screen.buttonsBeforeBox = true;
        break;
    case ImportOutcome::Failed:
        // The box keeps the fixed text; what the reader found waits behind its details button.
        screen.box = ScreenBox{importtexts::failed.toString(), true, result.failureDetail};
        screen.messageLine = importtexts::failed.toString();
        screen.buttons = ImportButtons{false, false, true};
        break;
    }
    return screen;
}

QString countText(std::int64_t count)
{
    return formatNumber(count, formats::grouped6);
}

QString handedBackFolder(const ImportedBook& book, const QString& chosenPath,
                         const QString& chosenDirectory)
{
    if (chosenDirectory.isEmpty() || book.path() != chosenPath) {
        return chosenDirectory;
    }
    return book.folder();
}

} // namespace setzaiko
