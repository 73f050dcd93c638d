#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportedBook.h"
#include "screen/ImportScreen.h"
#include "screen/ImportTexts.h"
#include "workbook/WorkbookFileOpener.h"

namespace setzaiko::cli {

namespace {

void countLine(QByteArray& out, QStringView caption, const std::optional<ImportCounts>& counts,
               std::int64_t (*pick)(const ImportCounts&))
{
    Output::fields(out, {caption.toString(), counts ? countText(pick(*counts)) : QString()});
}

int exitStatusOf(ImportResult::Outcome outcome)
{
    switch (outcome) {
    case ImportResult::Outcome::Success:
        return exitSuccess;
    case ImportResult::Outcome::Failed:
        return exitFailure;
    default:
        return exitRefused;
    }
}

} // namespace

bool ImportedBook::load(const QString& book)
{
    WorkbookFileOpener opener;
    result = runImport(book, opener);
    return result.outcome == ImportResult::Outcome::Success;
}

ImportedBook::~ImportedBook()
{
    if (m_output.keptUntilExit && result.book) {
        m_output.keptUntilExit->push_back(std::move(result.book));
    }
}

int ImportedBook::report() const
{
    Output& output = m_output;
    countLine(output.out, importtexts::productCountCaption, result.counts,
              [](const ImportCounts& c) -> std::int64_t { return c.products; });
    countLine(output.out, importtexts::stockCountCaption, result.counts,
              [](const ImportCounts& c) -> std::int64_t { return c.stocks; });
    countLine(output.out, importtexts::totalCountCaption, result.counts,
              [](const ImportCounts& c) { return c.total(); });
    const ImportScreen screen = ImportScreen::after(result);
    if (screen.box) {
        Output::line(output.out, screen.box->text);
    }
    if (!screen.messageLine.isEmpty()) {
        Output::line(output.out, screen.messageLine);
    }
    // What the failure box keeps behind its details button.
    if (screen.box) {
        Output::cause(output.err, screen.box->details);
    }
    return exitStatusOf(result.outcome);
}

int importCommand(const QString& book, Output& output)
{
    ImportedBook imported(output);
    imported.load(book);
    return imported.report();
}

} // namespace setzaiko::cli
