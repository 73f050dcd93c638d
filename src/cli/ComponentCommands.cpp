#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportedBook.h"
#include "inquiry/SetProductSearch.h"
#include "screen/ComponentScreen.h"
#include "screen/ComponentTexts.h"

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

// Prints the list, the additional quantity, the boxes due and the message line; true when a
// box came with a beep, that is after a run-time failure.
bool printComponents(ComponentScreen& screen, Output& output)
{
    bool beeped = false;
    for (int row = 1; row <= screen.shownRows(); ++row) {
        QStringList cells;
        for (int column = 0; column < componentcolumn::count; ++column) {
            cells << screen.cellText(row, column);
        }
        Output::fields(output.out, cells);
    }
    Output::fields(output.out, {componenttexts::addableLabel.toString(), screen.addableText()});
    for (const ScreenBox& box : screen.takeBoxes()) {
        Output::line(output.err, box.text);
        Output::cause(output.err, box.details);
        beeped = beeped || box.beep;
    }
    if (!screen.messageLine().isEmpty()) {
        Output::line(output.err, screen.messageLine());
    }
    return beeped;
}

} // namespace

int componentsCommand(const ComponentRequest& request, bool exporting, Output& output)
{
    ImportedBook imported(output);
    if (!imported.load(request.book)) {
        return imported.report();
    }
    const std::optional<SetProduct> setProduct =
        findSetProduct(imported.masters().stocks(), request.setCode);
    if (!setProduct) {
        Output::line(output.err, u"セット商品が見つかりません"_s);
        return exitRefused;
    }

    ComponentScreen screen(imported.masters(), setProduct,
                           request.directory.value_or(imported.folder()));
    screen.listComponents();
    const bool complete = screen.listStatus() == ListStatus::Complete;
    bool orderRefused = false;
    if (request.order && complete) {
        orderRefused = screen.recalculate(*request.order) == OrderPlan::Outcome::Refused;
    }
    bool runtimeFailure = printComponents(screen, output);
    if (request.limits) {
        QStringList codes;
        for (const QString& code : screen.limitingCodes()) {
            codes << code;
        }
        Output::fields(output.out, {componenttexts::limitingLabel.toString(), codes.join(u',')});
    }

    if (exporting && screen.mayExport()) {
        const std::optional<StockStatusExport> written =
            screen.exportStockStatus(request.stamp.value_or(QDateTime::currentDateTime()));
        const std::vector<ScreenBox> boxes = screen.takeBoxes();
        if (written) {
            // The one box of a written file counts its lines.
            Output::line(output.out, written->path);
            for (const ScreenBox& box : boxes) {
                Output::line(output.out, box.text);
            }
        } else {
            Output::line(output.err, componenttexts::exportFailed.toString());
            for (const ScreenBox& box : boxes) {
                Output::cause(output.err, box.details);
            }
            runtimeFailure = true;
        }
    }
    if (runtimeFailure) {
        return exitFailure;
    }
    if (!complete || orderRefused) {
        return exitRefused;
    }
    return exitSuccess;
}

} // namespace setzaiko::cli
