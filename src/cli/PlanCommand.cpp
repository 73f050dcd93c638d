#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportedBook.h"
#include "inquiry/SetProductSearch.h"
#include "screen/CombinedScreen.h"
#include "screen/CombinedTexts.h"
#include "screen/ComponentTexts.h"

#include <span>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

void printTable(const ScreenTable& table, std::span<const QStringView> headings, int rows,
                Output& output)
{
    QStringList heading;
    for (const QStringView text : headings) {
        heading << text.toString();
    }
    Output::fields(output.out, heading);
    for (int row = 1; row <= rows; ++row) {
        QStringList cells;
        for (int column = 0; column < table.tableColumns(); ++column) {
            cells << table.cellText(row, column);
        }
        Output::fields(output.out, cells);
    }
}

// Prints the boxes due on standard error; true when one came with a beep.
bool printBoxes(CombinedScreen& screen, Output& output)
{
    bool beeped = false;
    for (const ScreenBox& box : screen.takeBoxes()) {
        Output::line(output.err, box.text);
        Output::cause(output.err, box.details);
        beeped = beeped || box.beep;
    }
    return beeped;
}

} // namespace

int planCommand(const PlanRequest& request, Output& output)
{
    ImportedBook imported(output);
    if (!imported.load(request.book)) {
        return imported.report();
    }
    CombinedScreen screen(imported.masters(), request.directory.value_or(imported.folder()));
    for (const auto& [code, quantity] : request.items) {
        const std::optional<SetProduct> setProduct =
            findSetProduct(imported.masters().stocks(), code);
        if (!setProduct) {
            Output::line(output.err, u"セット商品が見つかりません："_s + code);
            return exitRefused;
        }
        if (!screen.addSet(setProduct, quantity)) {
            return printBoxes(screen, output) ? exitFailure : exitRefused;
        }
    }
    printTable(screen.setsTable(), combinedtexts::setHeadings,
               static_cast<int>(screen.choices().size()), output);
    printTable(screen.componentsTable(), combinedtexts::componentHeadings,
               static_cast<int>(screen.plan().components.size()), output);
    if (!screen.messageLine().isEmpty()) {
        Output::line(output.err, screen.messageLine());
    }
    if (!request.exporting) {
        return exitSuccess;
    }
    const std::optional<CombinedOrderExport> written =
        screen.exportCombined(request.stamp.value_or(QDateTime::currentDateTime()));
    const std::vector<ScreenBox> boxes = screen.takeBoxes();
    if (!written) {
        Output::line(output.err, componenttexts::exportFailed.toString());
        for (const ScreenBox& box : boxes) {
            Output::cause(output.err, box.details);
        }
        return exitFailure;
    }
    Output::line(output.out, written->path);
    for (const ScreenBox& box : boxes) {
        Output::line(output.out, box.text);
    }
    return exitSuccess;
}

} // namespace setzaiko::cli
