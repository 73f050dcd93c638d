#pragma once

#include "workbook/Workbook.h"

#include <QString>
#include <QStringList>

namespace setzaiko::testing {

// SpreadsheetML workbooks the reader must read: those saved by an office suite or openpyxl and
// committed (tests/data/xls, tests/data/xlsx, examples), and those the test-time generator
// writes (generated/xlsx).
QStringList committedXlsxWorkbooks();
QStringList generatedXlsxWorkbooks();

// The generator's packages that every reader must refuse (generated/xlsx/hostile).
QStringList hostilePackages();

// Expects every worksheet, its used part, every cell and every table row of the workbook as
// openpyxl reads them.
void expectWorkbookAsOracle(const QString& path);

// Expects a sheet's table to hand out, with its rows released as read and read as the import
// reads them, what it hands out read whole: the same rows, or the same failure.
void expectReleasesAgree(Workbook& workbook, const QString& sheet, int columnCount);

// The Excel 97-2003 twin of a workbook: the same name with .xls, or for generated/xlsx the
// generated .xls of the same rows; empty when there is none.
QString xlsTwinOf(const QString& xlsxPath);

} // namespace setzaiko::testing
