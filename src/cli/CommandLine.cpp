#include "cli/CommandLine.h"

#include "import/ImportRun.h"
#include "import/ImportTexts.h"
#include "import/xls/XlsWorkbook.h"

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

const QByteArray usage = "usage: setzaiko-cli import BOOK\n";

void line(QByteArray& stream, const QString& text)
{
    stream += escaped(text);
    stream += '\n';
}

void countLine(QByteArray& out, QStringView caption, const std::optional<ImportCounts>& counts,
               std::int64_t (*pick)(const ImportCounts&))
{
    out += escaped(caption.toString());
    out += '\t';
    line(out, counts ? countText(pick(*counts)) : QString());
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

int importCommand(const QString& book, QByteArray& out)
{
    ProductMaster products;
    StockMaster stocks;
    xls::XlsWorkbookOpener opener;
    const ImportResult result = runImport(book, opener, products, stocks);

    countLine(out, importtexts::productCountCaption, result.counts,
              [](const ImportCounts& c) -> std::int64_t { return c.products; });
    countLine(out, importtexts::stockCountCaption, result.counts,
              [](const ImportCounts& c) -> std::int64_t { return c.stocks; });
    countLine(out, importtexts::totalCountCaption, result.counts,
              [](const ImportCounts& c) { return c.total(); });
    if (!result.messageBox.isEmpty()) {
        line(out, result.messageBox);
    }
    if (!result.messageLine.isEmpty()) {
        line(out, result.messageLine);
    }
    return exitStatusOf(result.outcome);
}

} // namespace

QByteArray escaped(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            result += u"\\\\"_s;
            break;
        case u'\t':
            result += u"\\t"_s;
            break;
        case u'\r':
            result += u"\\r"_s;
            break;
        case u'\n':
            result += u"\\n"_s;
            break;
        default:
            result += c;
        }
    }
    return result.toUtf8();
}

int runCommandLine(const QStringList& arguments, QByteArray& out, QByteArray& err)
{
    if (arguments.size() == 2 && arguments[0] == u"import"_s) {
        return importCommand(arguments[1], out);
    }
    err += usage;
    return exitUsage;
}

} // namespace setzaiko::cli
