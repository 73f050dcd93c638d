#pragma once

#include "workbook/Workbook.h"
#include "workbook/WorkbookFormats.h"
#include "workbook/xlsx/SharedStrings.h"
#include "workbook/xlsx/ZipArchive.h"

#include <QByteArray>
#include <QHash>

#include <memory>
#include <vector>

namespace setzaiko::xlsx {

class WorksheetCells;

// A SpreadsheetML workbook (.xlsx, .xlsm), transitional or strict, held in memory as the
// file's bytes. The package is read when the workbook is opened: its relationships, the
// workbook part and the shared strings; the worksheets when their tables are read.
class XlsxWorkbook : public Workbook
{
public:
    // Throws WorkbookError for anything that is not a readable SpreadsheetML package.
    static std::unique_ptr<XlsxWorkbook> open(QByteArray bytes);
    static std::unique_ptr<XlsxWorkbook> openFile(const QString& path);

    QStringList sheetNames() const override;
    std::unique_ptr<CellStream> openCells(const QString& name, int columnCount) override;
    std::unique_ptr<CellStream> openCellsAsRead(const QString& name, int columnCount) override;
    // Lets go of the file's bytes: each sheet opened holds them until it has read its part,
    // and the shared strings until they are read. bytes() and readCells are then no more.
    void allSheetsOpened() override { m_bytes = QByteArray(); }

    // Worksheets in workbook order (chart, dialog and macro sheets are not listed).
    int sheetCount() const { return static_cast<int>(m_sheets.size()); }
    QString sheetName(int sheet) const;
    // The worksheet's part in the package.
    const ZipEntry& sheetEntry(int sheet) const
    {
        return m_sheets.at(static_cast<std::size_t>(sheet)).entry;
    }
    const QByteArray& bytes() const { return m_bytes; }
    // Waits for the table where it is still being read. Throws WorkbookError.
    const SharedStrings& sharedStrings() const { return *m_sharedStrings.get(); }
    // Every value of one worksheet, in every column, in file order. Throws WorkbookError.
    WorksheetCells readCells(int sheet) const;

private:
    std::unique_ptr<CellStream> openSheetCells(const QString& name, int columnCount,
                                               RowRelease release);

    struct Sheet
    {
        QString name;
        ZipEntry entry;
    };

    explicit XlsxWorkbook(QByteArray bytes);
    void readPackage();

    QByteArray m_bytes;
    QString m_path; // where the bytes were read from, if from a file
    std::vector<Sheet> m_sheets;
    QHash<QString, int> m_sheetIndex; // by sheet name
    PendingSharedStrings m_sharedStrings;
    bool m_dates1904 = false;
};

// The format this reader reads, as the list of formats gives it.
WorkbookFormat workbookFormat();

} // namespace setzaiko::xlsx
