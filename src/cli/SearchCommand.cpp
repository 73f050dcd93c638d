#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportedBook.h"
#include "screen/InquiryScreen.h"

namespace setzaiko::cli {

int searchCommand(const QString& book, const QString& code, const QString& name, Output& output)
{
    ImportedBook imported(output);
    if (!imported.load(book)) {
        return imported.report();
    }
    InquiryScreen screen;
    screen.search(imported.masters().stocks(), code, name);
    for (int row = 1; row <= screen.listedRows(); ++row) {
        Output::fields(output.out, screen.rowTexts(row));
    }
    for (const ScreenBox& box : screen.takeBoxes()) {
        Output::line(output.err, box.text);
    }
    if (!screen.messageLine().isEmpty()) {
        Output::line(output.err, screen.messageLine());
    }
    return exitSuccess;
}

} // namespace setzaiko::cli
