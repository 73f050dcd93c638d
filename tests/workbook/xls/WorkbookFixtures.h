#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace setzaiko::testing {

// Workbooks every reader should read: the *.xls files directly in tests/data/xls and examples
// (committed, written by an office suite) and in the folder of generated workbooks.
QStringList committedWorkbooks();
QStringList generatedWorkbooks();

// Files that must be refused: tests/data/xls/not-a-workbook, tests/data/xls/regressions (inputs
// that once broke the reader) and the generated "damaged" folder.
QStringList refusedFiles();

// The generated workbooks the generator always writes; their absence means it failed.
QStringList expectedGeneratedNames();

QString generatedFolder();
QByteArray readAll(const QString& path);

} // namespace setzaiko::testing
