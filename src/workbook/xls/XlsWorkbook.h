#pragma once

#include "workbook/Workbook.h"
#include "workbook/WorkbookFormats.h"

#include <QIODevice>

#include <functional>
#include <memory>

namespace setzaiko::xls {

// One cell as stored in the file, with whether it came from a formula (its cached result).
struct XlsCell
{
    CellValue value;
    bool formula = false;
};

// The used part of a worksheet: rows 0..rows-1 and columns 0..columns-1.
struct UsedRange
{
    int rows = 0;
    int columns = 0;
};

class WorkbookParser;

// An Excel 97-2003 (BIFF8) workbook read straight from its compound file. The device stays
// open, and is read sector by sector, for as long as the workbook lives.
class XlsWorkbook : public Workbook
{
public:
    ~XlsWorkbook() override;

    // Throws WorkbookError for anything that is not a readable, unencrypted BIFF8 workbook.
    static std::unique_ptr<XlsWorkbook> open(std::unique_ptr<QIODevice> device);
    static std::unique_ptr<XlsWorkbook> openFile(const QString& path);

    QStringList sheetNames() const override;
    std::unique_ptr<CellStream> openCells(const QString& name, int columnCount) override;

    // Worksheets in workbook order (charts, macro sheets and modules are not listed).
    int sheetCount() const;
    QString sheetName(int sheet) const;
    UsedRange usedRange(int sheet) const;
    // Every stored cell of one worksheet, in file order.
    void forEachCell(int sheet,
                     const std::function<void(int row, int column, const XlsCell&)>& visit) const;

private:
    explicit XlsWorkbook(std::unique_ptr<WorkbookParser> parser);
    std::unique_ptr<WorkbookParser> m_parser;
};

class XlsWorkbookOpener : public WorkbookOpener
{
public:
    std::unique_ptr<Workbook> open(const QString& path) override;
};

// The format this reader reads, as the list of formats gives it.
WorkbookFormat workbookFormat();

} // namespace setzaiko::xls
