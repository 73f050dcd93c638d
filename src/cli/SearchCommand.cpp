#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportedBook.h"
#include "inquiry/SetProductSearch.h"

namespace setzaiko::cli {

int searchCommand(const QString& book, const QString& code, const QString& name, Output& output)
{
    ImportedBook imported;
    if (!imported.load(book)) {
        return imported.report(output);
    }
    const SetProductSearchResult found = searchSetProducts(imported.masters().stocks(), code, name);
    for (const SetProductListRow& row : found.rows) {
        Output::fields(output.out, QStringList(row.begin(), row.end()));
    }
    if (found.limitReached) {
        Output::line(output.err, found.limitBox);
        Output::line(output.err, found.limitLine);
    }
    return exitSuccess;
}

} // namespace setzaiko::cli
