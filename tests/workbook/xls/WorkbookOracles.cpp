#include "workbook/xls/WorkbookOracles.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <cstdlib>
#include <freexl.h>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

namespace {

using Kind = OracleCell::Kind;

struct FreeXlHandle
{
    const void* handle = nullptr;
    ~FreeXlHandle()
    {
        if (handle) {
            freexl_close(handle);
        }
    }
};

QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[++i];
            out.append(next == u't' ? u'\t' : next == u'r' ? u'\r' : next == u'n' ? u'\n' : next);
        } else {
            out.append(text[i]);
        }
    }
    return out;
}

} // namespace

OracleWorkbook readWithFreeXl(const QString& path)
{
    OracleWorkbook book;
    FreeXlHandle xl;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &xl.handle);
    if (opened != FREEXL_OK) {
        book.failure = u"freexl_open: %1"_s.arg(opened);
        return book;
    }
    unsigned int info = 0;
    if (freexl_get_info(xl.handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        book.failure = u"encrypted"_s;
        return book;
    }
    freexl_get_info(xl.handle, FREEXL_BIFF_DATEMODE, &info);
    book.dates1904 = info == FREEXL_BIFF_DATEMODE_1904;
    unsigned int sheetCount = 0;
    freexl_get_info(xl.handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    if (sheetCount == 0) {
        // Every workbook has a worksheet: none means FreeXL gave up part way.
        book.failure = u"no worksheet"_s;
        return book;
    }
    for (unsigned short s = 0; s < sheetCount; ++s) {
        OracleSheet sheet;
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(xl.handle, s, &name) != FREEXL_OK ||
            freexl_select_active_worksheet(xl.handle, s) != FREEXL_OK ||
            freexl_worksheet_dimensions(xl.handle, &rows, &columns) != FREEXL_OK) {
            book.failure = u"worksheet %1 unreadable"_s.arg(s);
            return book;
        }
        sheet.name = QString::fromUtf8(name);
        sheet.rows = static_cast<int>(rows);
        sheet.columns = columns;
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(xl.handle, r, c, &value) != FREEXL_OK) {
                    book.failure = u"cell %1,%2 unreadable"_s.arg(r).arg(c);
                    return book;
                }
                OracleCell cell;
                switch (value.type) {
                case FREEXL_CELL_NULL:
                    continue;
                case FREEXL_CELL_INT:
                    cell = {Kind::Number, double(value.value.int_value), {}};
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell = {Kind::Number, value.value.double_value, {}};
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    cell = {Kind::Text, 0.0, QString::fromUtf8(value.value.text_value)};
                    break;
                case FREEXL_CELL_DATE:
                    cell = {Kind::Date, 0.0, QString::fromUtf8(value.value.text_value)};
                    break;
                case FREEXL_CELL_DATETIME:
                    cell = {Kind::DateTime, 0.0, QString::fromUtf8(value.value.text_value)};
                    break;
                case FREEXL_CELL_TIME:
                    cell = {Kind::Time, 0.0, QString::fromUtf8(value.value.text_value)};
                    break;
                default:
                    book.failure = u"cell %1,%2 of unknown type"_s.arg(r).arg(c);
                    return book;
                }
                sheet.cells.emplace(std::make_pair(int(r), int(c)), cell);
            }
        }
        book.sheets.push_back(std::move(sheet));
    }
    book.readable = true;
    return book;
}

namespace {

// Runs one of the dump tools (xlrd_dump.py, openpyxl_dump.py), which print the same format.
OracleWorkbook readWithDumpTool(const QString& tool, const QString& path)
{
    OracleWorkbook book;
    const QString toolName = tool.mid(tool.lastIndexOf(u'/') + 1);
    QProcess dump;
    dump.setProgram(u"/usr/bin/python3"_s);
    dump.setArguments({tool, path});
    dump.start();
    if (!dump.waitForFinished(180000) || dump.exitStatus() != QProcess::NormalExit) {
        dump.kill();
        dump.waitForFinished();
        book.failure = toolName + u" did not finish"_s;
        return book;
    }
    if (dump.exitCode() != 0) {
        book.failure = QString::fromUtf8(dump.readAllStandardError()).trimmed();
        if (dump.exitCode() != 2) {
            book.failure.prepend(toolName + u" failed: "_s); // the tool itself broke
        }
        return book;
    }
    const QString out = QString::fromUtf8(dump.readAllStandardOutput());
    for (QStringView line : QStringView(out).split(u'\n', Qt::SkipEmptyParts)) {
        const auto fields = line.split(u'\t');
        if (fields[0] == u"name") {
            OracleSheet sheet;
            sheet.name = unescape(fields[2]);
            book.sheets.push_back(sheet);
        } else if (fields[0] == u"size") {
            OracleSheet& sheet = book.sheets.at(fields[1].toUInt());
            sheet.rows = fields[2].toInt();
            sheet.columns = fields[3].toInt();
        } else if (fields[0] == u"datemode") {
            book.dates1904 = fields[1] == u"1";
        } else if (fields.size() == 5) {
            OracleCell cell;
            const QStringView kind = fields[3];
            if (kind == u"number") {
                cell.kind = Kind::Number;
                // repr() gives the shortest text that converts back to the same double.
                cell.number = std::strtod(fields[4].toLatin1().constData(), nullptr);
            } else if (kind == u"text") {
                cell.kind = Kind::Text;
                cell.text = unescape(fields[4]);
            } else if (kind == u"bool") {
                cell.kind = Kind::Boolean;
                cell.text = fields[4].toString();
            } else if (kind == u"error") {
                cell.kind = Kind::Error;
                cell.text = fields[4].toString();
            } else {
                cell.kind = Kind::Blank;
            }
            book.sheets.at(fields[0].toUInt())
                .cells.emplace(std::make_pair(fields[1].toInt(), fields[2].toInt()), cell);
        } else {
            book.failure = u"unexpected line from "_s + toolName + u": "_s + line.toString();
            return book;
        }
    }
    book.readable = true;
    return book;
}

} // namespace

OracleWorkbook readWithXlrd(const QString& path)
{
    return readWithDumpTool(QStringLiteral(SETZAIKO_XLRD_DUMP), path);
}

OracleWorkbook readWithOpenpyxl(const QString& path)
{
    return readWithDumpTool(QStringLiteral(SETZAIKO_OPENPYXL_DUMP), path);
}

bool serialFromDateText(const QString& text, bool dates1904, double& serial)
{
    static const QRegularExpression form(
        u"^(?:(\\d{4})-(\\d{2})-(\\d{2}))? ?(?:(\\d{2}):(\\d{2}):(\\d{2}))?$"_s);
    const auto match = form.match(text);
    if (!match.hasMatch() || text.isEmpty()) {
        return false;
    }
    double days = 0;
    if (match.hasCaptured(1)) {
        const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                         match.captured(3).toInt());
        if (dates1904) {
            days = double(QDate(1904, 1, 1).daysTo(date));
        } else if (match.captured(1) == u"1900" && match.captured(2) == u"02" &&
                   match.captured(3) == u"29") {
            days = 60; // the day that never was, which the 1900 date system counts
        } else if (!date.isValid()) {
            return false;
        } else if (date < QDate(1900, 3, 1)) {
            days = double(QDate(1899, 12, 31).daysTo(date));
        } else {
            days = double(QDate(1899, 12, 30).daysTo(date));
        }
    }
    double seconds = 0;
    if (match.hasCaptured(4)) {
        seconds = match.captured(4).toInt() * 3600 + match.captured(5).toInt() * 60 +
                  match.captured(6).toInt();
    }
    serial = days + seconds / 86400.0;
    return true;
}

} // namespace setzaiko::testing
