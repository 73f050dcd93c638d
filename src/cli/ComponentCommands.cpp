#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportedBook.h"
#include "common/NumberFormat.h"
#include "component/ComponentSession.h"
#include "component/ComponentTexts.h"
#include "export/ExportTexts.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

// What the inquiry hands over for the first set product row of that code.
std::optional<SetProduct> setProductOf(const StockMaster& stocks, const QString& code)
{
    for (std::int32_t i = 0; i < stocks.count(); ++i) {
        const StockMasterRow& row = stocks.row(i);
        if (row.isSetProduct() && row.productCode == code) {
            return SetProduct{row.productCode, row.productName, row.unit, row.stockQuantity};
        }
    }
    return std::nullopt;
}

// Prints the list, the additional quantity, the boxes due and the message line; true when a
// box came with a beep, that is after a run-time failure.
bool printComponents(ComponentSession& session, Output& output)
{
    bool beeped = false;
    for (int row = 1; row <= session.lastShownRow(); ++row) {
        QStringList cells;
        for (int column = 0; column < ComponentRow::columnCount; ++column) {
            cells << session.row(row).text(column);
        }
        Output::fields(output.out, cells);
    }
    Output::fields(output.out, {componenttexts::addableLabel.toString(),
                                formatNumber(session.addableSets(), formats::grouped9)});
    for (const SessionBox& box : session.takeBoxes()) {
        Output::line(output.err, box.text);
        Output::cause(output.err, box.details);
        beeped = beeped || box.beep;
    }
    if (!session.messageLine().isEmpty()) {
        Output::line(output.err, session.messageLine());
    }
    return beeped;
}

} // namespace

QString directoryOfBook(const QString& book)
{
    const QString directory = QDir::toNativeSeparators(QFileInfo(book).absolutePath());
    return directory.endsWith(QDir::separator()) ? directory : directory + QDir::separator();
}

int componentsCommand(const ComponentRequest& request, bool exporting, Output& output)
{
    ImportedBook imported;
    if (!imported.load(request.book)) {
        return imported.report(output);
    }
    const std::optional<SetProduct> setProduct =
        setProductOf(imported.masters().stocks(), request.setCode);
    if (!setProduct) {
        Output::line(output.err, u"セット商品が見つかりません"_s);
        return exitRefused;
    }

    ComponentSession session(imported.masters(), setProduct, request.directory);
    session.listComponents();
    const bool complete = session.listStatus() == ListStatus::Complete;
    bool orderRefused = false;
    if (request.order && complete) {
        orderRefused = session.recalculate(*request.order) == OrderSimulation::Outcome::Refused;
    }
    bool runtimeFailure = printComponents(session, output);

    if (exporting && session.buttons().exportCsv) {
        if (const std::optional<StockStatusExport> written =
                session.exportStockStatus(request.stamp.value_or(QDateTime::currentDateTime()))) {
            Output::line(output.out, written->path);
            Output::line(output.out, written->countMessage);
        } else {
            Output::line(output.err, exporttexts::failed.toString());
            for (const SessionBox& box : session.takeBoxes()) {
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
