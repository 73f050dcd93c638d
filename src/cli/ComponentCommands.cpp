#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ComponentSession.h"
#include "cli/ImportedBook.h"
#include "common/NumberFormat.h"
#include "component/ComponentListing.h"
#include "export/ExportTexts.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

// What the inquiry hands over for the first set product row of that code.
std::optional<SetProductSelection> selectionOf(const StockMaster& stocks, const QString& code)
{
    for (std::int32_t i = 0; i < stocks.count(); ++i) {
        const StockMasterRow& row = stocks.row(i);
        if (row.isSetProduct() && row.ProductCode == code) {
            return SetProductSelection{row.ProductName, row.ProductCode,
                                       formatNumber(row.StockQty, formats::grouped9), row.Unit};
        }
    }
    return std::nullopt;
}

void printComponents(const ComponentSession& session, Output& output)
{
    for (int row = 1; row <= session.lastListedRow(); ++row) {
        QStringList cells;
        for (int column = 0; column < ComponentRow::columnCount; ++column) {
            cells << session.cell(row, column);
        }
        Output::fields(output.out, cells);
    }
    Output::fields(output.out, {u"追加可能数量"_s, session.knousu()});
    for (const QString& box : session.boxes()) {
        Output::line(output.err, box);
    }
    if (!session.messageLine().isEmpty()) {
        Output::line(output.err, session.messageLine());
    }
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
    const std::optional<SetProductSelection> selection =
        selectionOf(imported.stocks, request.setCode);
    if (!selection) {
        Output::line(output.err, u"セット商品が見つかりません"_s);
        return exitRefused;
    }

    ComponentSession session(imported.products, imported.stocks, *selection, request.directory);
    session.showComponents();
    const bool complete = session.listStatus() == liststatus::complete;
    if (request.order && complete) {
        session.recalculate(*request.order);
    }
    printComponents(session, output);

    if (exporting && session.csvEnabled()) {
        const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
        if (const auto written = session.exportCsv(request.stamp, *encoder)) {
            Output::line(output.out, written->first);
            Output::line(output.out, written->second);
        } else {
            Output::line(output.err, exporttexts::failed.toString());
        }
    }
    if (session.runtimeFailure()) {
        return exitFailure;
    }
    if (!complete || session.orderRefused()) {
        return exitRefused;
    }
    return exitSuccess;
}

} // namespace setzaiko::cli
