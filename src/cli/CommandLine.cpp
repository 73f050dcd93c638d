#include "cli/CommandLine.h"

#include "cli/Commands.h"
#include "workbook/WorkbookFormats.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::cli {

namespace {

#ifndef SETZAIKO_VERSION
#error "SETZAIKO_VERSION comes from the project version in the top-level CMakeLists.txt"
#endif

const auto versionLine = u"setzaiko-cli " SETZAIKO_VERSION "\n"_s;

const auto usageEnglish =
    u"usage: setzaiko-cli import BOOK\n"
    u"       setzaiko-cli search BOOK [--code TEXT] [--name TEXT]\n"
    u"       setzaiko-cli components BOOK SETCODE [--order TEXT] [--limits]\n"
    u"       setzaiko-cli export BOOK SETCODE [--order TEXT] [--dir DIR] [--time YYMMDDhhmmss]\n"
    u"       setzaiko-cli plan BOOK CODE=QTY [CODE=QTY...] [--export DIR] [--time YYMMDDhhmmss]\n"
    u"       setzaiko-cli --help | --version\n"_s;

const auto usageJapanese =
    u"使用法: setzaiko-cli import ブック\n"
    u"        setzaiko-cli search ブック [--code 文字列] [--name 文字列]\n"
    u"        setzaiko-cli components ブック セット商品コード [--order 受注予定数] [--limits]\n"
    u"        setzaiko-cli export ブック セット商品コード [--order 受注予定数] [--dir フォルダー]"
    u" [--time YYMMDDhhmmss]\n"
    u"        setzaiko-cli plan ブック コード=数量 [コード=数量...] [--export フォルダー]"
    u" [--time YYMMDDhhmmss]\n"
    u"        setzaiko-cli --help | --version\n"_s;

// The help names the formats of the workbook list between its first line and the commands.
const auto helpEnglishHead =
    u"\n"
    u"Runs the set product stock inquiry without windows on the workbook BOOK, in one of\n"
    u"these formats (told apart by content, not by name):\n"_s;
const auto helpEnglish =
    u"  import      imports the product and stock masters; prints the counts and messages\n"
    u"  search      lists the set products whose code and name contain the TEXTs\n"
    u"  components  lists the components of the set product SETCODE and the sets that can\n"
    u"              still be added; --order simulates an order of that many sets, --limits\n"
    u"              names the components whose stock decides the sets that can be added\n"
    u"  export      does what components does, then writes the stock status CSV file into\n"
    u"              DIR (the workbook's folder by default), stamped YYMMDDhhmmss (now)\n"
    u"  plan        lists what an order of several set products needs of their components\n"
    u"              together, and whether each set is met alone and together; --export\n"
    u"              writes the combined CSV file into DIR, stamped YYMMDDhhmmss (now)\n"
    u"Output is UTF-8; \\, TAB, CR and LF inside a text are printed as \\\\, \\t, \\r "
    u"and \\n.\n"
    u"Exit status: 0 success; 1 refused (a quantity error, no rows, no file name, a set\n"
    u"product not found, an incomplete component list, an order not accepted);\n"
    u"2 unexpected error; 64 usage error.\n"
    u"The manual page setzaiko-cli(1) tells more.\n"_s;

const auto helpJapaneseHead =
    u"\n"
    u"ブックで、セット商品在庫照会を画面なしで行います。ブックは次のいずれかの形式で、\n"
    u"ファイル名ではなく中身で見分けます:\n"_s;
const auto helpJapanese =
    u"  import      商品マスタと在庫マスタを取り込み、件数とメッセージを出します\n"
    u"  search      商品コード・商品名に文字列を含むセット商品を一覧にします\n"
    u"  components  セット商品の構成商品と追加可能数量を出します。--order で受注を\n"
    u"              シミュレーションします。--limits で追加可能数量を決めている構成商品を出します\n"
    u"  export      components と同じことをしてから、在庫状況 CSV をフォルダー\n"
    u"              （既定はブックのフォルダー）に書き出します。--time は時刻（既定は現在）\n"
    u"  plan        複数のセット商品の受注で構成商品がまとめていくつ要るかと、各セットが\n"
    u"              単独で・まとめて出荷できるかを出します。--export でまとめの CSV を\n"
    u"              フォルダーに書き出します。--time は時刻（既定は現在）\n"
    u"出力は UTF-8 で、文中の \\、タブ、CR、LF は \\\\、\\t、\\r、\\n と書きます。\n"
    u"終了コード: 0 成功、1 受付不可（数量の誤り、0 件、ファイル未指定、セット商品なし、\n"
    u"構成商品の一覧が不完全、受注予定数の誤り）、2 予期しないエラー、64 使い方の誤り\n"
    u"詳しくはマニュアル setzaiko-cli(1) を見てください。\n"_s;

QByteArray usage(MessageLanguage language)
{
    return (language == MessageLanguage::Japanese ? usageJapanese : usageEnglish).toUtf8();
}

QByteArray help(MessageLanguage language)
{
    const bool japanese = language == MessageLanguage::Japanese;
    QString formats;
    for (const WorkbookFormat& format : workbookFormats()) {
        formats += u"  "_s + (japanese ? format.description : format.name) + u" ("_s +
                   format.nameFilters.join(u' ') + u")\n"_s;
    }
    return (versionLine + (japanese ? usageJapanese : usageEnglish) +
            (japanese ? helpJapaneseHead : helpEnglishHead) + formats +
            (japanese ? helpJapanese : helpEnglish))
        .toUtf8();
}

// Splits the arguments into positional ones and the allowed options, each given at most once,
// with a value unless it is one of the flags. False on anything else.
bool parse(const QStringList& arguments, const QStringList& allowed, QStringList& positional,
           QHash<QString, QString>& options, const QStringList& flags = {})
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(u"--"_s)) {
            const bool flag = flags.contains(argument);
            if ((!allowed.contains(argument) && !flag) || options.contains(argument) ||
                (!flag && i + 1 >= arguments.size())) {
                return false;
            }
            options.insert(argument, flag ? QString() : arguments[++i]);
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

// A folder text as the export takes it: empty, or ending in the platform's separator.
QString withSeparator(const QString& dir)
{
    return dir.isEmpty() || dir.endsWith(QDir::separator()) ? dir : dir + QDir::separator();
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

void Output::cause(QByteArray& stream, const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    for (const QString& line : text.split(u'\n')) {
        Output::line(stream, line);
    }
}

int runCommandLine(const QStringList& arguments, QByteArray& out, QByteArray& err,
                   MessageLanguage language,
                   std::vector<std::shared_ptr<const void>>* keptUntilExit)
{
    Output output{out, err, keptUntilExit};
    if (arguments.isEmpty()) {
        err += usage(language);
        return exitUsage;
    }
    if (arguments == QStringList{u"--version"_s}) {
        out += versionLine.toUtf8();
        return exitSuccess;
    }
    if (arguments == QStringList{u"--help"_s}) {
        out += help(language);
        return exitSuccess;
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
        const QStringList flags = exporting ? QStringList{} : QStringList{u"--limits"_s};
        valid =
            parse(arguments.mid(1), allowed, positional, options, flags) && positional.size() == 2;
        ComponentRequest request;
        if (valid) {
            request.book = positional[0];
            request.setCode = positional[1];
            request.limits = options.contains(u"--limits"_s);
            if (options.contains(u"--order"_s)) {
                request.order = options.value(u"--order"_s);
            }
        }
        if (valid && exporting) {
            if (options.contains(u"--time"_s)) {
                const std::optional<QDateTime> stamp = parseStamp(options.value(u"--time"_s));
                valid = stamp.has_value();
                request.stamp = stamp;
            }
            if (options.contains(u"--dir"_s)) {
                request.directory = withSeparator(options.value(u"--dir"_s));
            }
        }
        if (valid) {
            return componentsCommand(request, exporting, output);
        }
    }
    if (command == u"plan"_s) {
        valid = parse(arguments.mid(1), {u"--export"_s, u"--time"_s}, positional, options) &&
                positional.size() >= 2;
        PlanRequest request;
        for (qsizetype i = 1; valid && i < positional.size(); ++i) {
            const qsizetype at = positional[i].lastIndexOf(u'=');
            valid = at > 0;
            request.items.emplace_back(positional[i].left(at), positional[i].mid(at + 1));
        }
        if (valid && options.contains(u"--time"_s)) {
            request.stamp = parseStamp(options.value(u"--time"_s));
            valid = request.stamp.has_value();
        }
        if (valid) {
            request.book = positional[0];
            request.exporting = options.contains(u"--export"_s);
            if (request.exporting) {
                request.directory = withSeparator(options.value(u"--export"_s));
            }
            return planCommand(request, output);
        }
    }
    err += usage(language);
    return exitUsage;
}

} // namespace setzaiko::cli
