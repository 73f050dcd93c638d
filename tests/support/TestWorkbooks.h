#pragma once

#include <QString>

namespace setzaiko::testing {

// Writes a workbook with python3-xlwt into the path given. sheets is a Python literal: a list
// of (sheet name, rows) pairs, each row a list of values (None for an empty cell). Returns
// false, with the reason in error, when the writer failed.
bool writeWorkbook(const QString& path, const QString& sheets, QString* error = nullptr);

// Two valid sheets: 2 product rows and 3 stock rows.
QString validSheets();

} // namespace setzaiko::testing
