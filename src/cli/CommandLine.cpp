#include "cli/CommandLine.h"

#include "cli/Commands.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

const QByteArray usage = "usage: setzaiko-cli import BOOK\n"
                         "       setzaiko-cli search BOOK [--code TEXT] [--name TEXT]\n"
                         "       setzaiko-cli components BOOK SETCODE [--order TEXT]\n"
                         "       setzaiko-cli export BOOK SETCODE [--order TEXT] [--dir DIR]"
                         " [--time YYMMDDhhmmss]\n";

// Splits the arguments into positional ones and the allowed options, each given at most once
// with a value. False on anything else.
bool parse(const QStringList& arguments, const QStringList& allowed, QStringList& positional,
           QHash<QString, QString>& options)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(u"--"_s)) {
            if (!allowed.contains(argument) || options.contains(argument) ||
                i + 1 >= arguments.size()) {
                return false;
            }
            options.insert(argument, arguments[++i]);
        } else {
            positional.append(argument);
        }
    }
    return true;
}

std::optional<QDateTime> parseStamp(const QString& text)
{
    if (text.size() != 12 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    const auto part = [&](int at) { return text.mid(at, 2).toInt(); };
    const QDate date(2000 + part(0), part(2), part(4));
    const QTime time(part(6), part(8), part(10));
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time);
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

void Output::line(QByteArray& stream, const QString& text)
{
    stream += escaped(text);
    stream += '\n';
}

void Output::fields(QByteArray& stream, const QStringList& texts)
{
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            stream += '\t';
        }
        stream += escaped(texts[i]);
    }
    stream += '\n';
}

int runCommandLine(const QStringList& arguments, QByteArray& out, QByteArray& err)
{
    Output output{out, err};
    if (arguments.isEmpty()) {
        err += usage;
        return exitUsage;
    }
    const QString command = arguments.front();
    QStringList positional;
    QHash<QString, QString> options;
    bool valid = false;
    if (command == u"import"_s) {
        valid = parse(arguments.mid(1), {}, positional, options) && positional.size() == 1;
        if (valid) {
            return importCommand(positional[0], output);
        }
    } else if (command == u"search"_s) {
        valid = parse(arguments.mid(1), {u"--code"_s, u"--name"_s}, positional, options) &&
                positional.size() == 1;
        if (valid) {
            return searchCommand(positional[0], options.value(u"--code"_s),
                                 options.value(u"--name"_s), output);
        }
    } else if (command == u"components"_s || command == u"export"_s) {
        const bool exporting = command == u"export"_s;
        const QStringList allowed = exporting ? QStringList{u"--order"_s, u"--dir"_s, u"--time"_s}
                                              : QStringList{u"--order"_s};
        valid = parse(arguments.mid(1), allowed, positional, options) && positional.size() == 2;
        ComponentRequest request;
        if (valid) {
            request.book = positional[0];
            request.setCode = positional[1];
            if (options.contains(u"--order"_s)) {
                request.order = options.value(u"--order"_s);
            }
        }
        if (valid && exporting) {
            if (options.contains(u"--time"_s)) {
                const std::optional<QDateTime> stamp = parseStamp(options.value(u"--time"_s));
                valid = stamp.has_value();
                request.stamp = stamp.value_or(QDateTime());
            } else {
                request.stamp = QDateTime::currentDateTime();
            }
            if (options.contains(u"--dir"_s)) {
                const QString dir = options.value(u"--dir"_s);
                request.directory = dir.isEmpty() || dir.endsWith(QDir::separator())
                                        ? dir
                                        : dir + QDir::separator();
            } else {
                request.directory = directoryOfBook(request.book);
            }
        }
        if (valid) {
            return componentsCommand(request, exporting, output);
        }
    }
    err += usage;
    return exitUsage;
}

} // namespace setzaiko::cli
