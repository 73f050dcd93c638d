#include "workbook/xls/XlsWorkbook.h"

#include "workbook/xls/SheetCellReader.h"
#include "workbook/xls/WorkbookParser.h"
#include "workbook/xls/XlsError.h"
#include "workbook/xls/XlsSheetCells.h"

#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::xls {

XlsWorkbook::XlsWorkbook(std::unique_ptr<WorkbookParser> parser) : m_parser(std::move(parser)) {}

XlsWorkbook::~XlsWorkbook() = default;

std::unique_ptr<XlsWorkbook> XlsWorkbook::open(std::unique_ptr<QIODevice> device)
{
    return std::unique_ptr<XlsWorkbook>(
        new XlsWorkbook(std::make_unique<WorkbookParser>(std::move(device))));
}

std::unique_ptr<XlsWorkbook> XlsWorkbook::openFile(const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        fail(WorkbookFailure::Unreadable,
             "the file cannot be opened: " + file->errorString().toStdString());
    }
    return open(std::move(file));
}

QStringList XlsWorkbook::sheetNames() const
{
    QStringList names;
    for (const WorkbookParser::Sheet& sheet : m_parser->sheets()) {
        names.append(sheet.name);
    }
    return names;
}

std::unique_ptr<CellStream> XlsWorkbook::openCells(const QString& name, int /*columnCount*/)
{
    const auto& sheets = m_parser->sheets();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (sheets[i].name == name) {
            return std::make_unique<XlsSheetCells>(*m_parser, static_cast<int>(i));
        }
    }
    fail("the workbook has no sheet of that name");
}

int XlsWorkbook::sheetCount() const
{
    return static_cast<int>(m_parser->sheets().size());
}

QString XlsWorkbook::sheetName(int sheet) const
{
    return m_parser->sheets().at(static_cast<std::size_t>(sheet)).name;
}

UsedRange XlsWorkbook::usedRange(int sheet) const
{
    return m_parser->layout(sheet).range;
}

void XlsWorkbook::forEachCell(
    int sheet, const std::function<void(int row, int column, const XlsCell&)>& visit) const
{
    SheetCellReader reader(m_parser->stream(),
                           m_parser->sheets().at(static_cast<std::size_t>(sheet)).offset,
                           m_parser->sharedStrings(), true);
    SheetCell cell;
    while (reader.next(cell)) {
        visit(cell.row, cell.column, cell.cell);
    }
}

std::unique_ptr<Workbook> XlsWorkbookOpener::open(const QString& path)
{
    return XlsWorkbook::openFile(path);
}

WorkbookFormat workbookFormat()
{
    // A compound file starts with its signature.
    static constexpr QByteArrayView signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    return {u"Excel 97-2003 workbook"_s,
            u"Excel 97-2003 形式のブック"_s,
            {u"*.xls"_s},
            [](QByteArrayView start) { return start.startsWith(signature); },
            [](const QString& path) -> std::unique_ptr<Workbook> {
                return XlsWorkbook::openFile(path);
            }};
}

} // namespace setzaiko::xls
