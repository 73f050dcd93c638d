#pragma once

#include "cli/Commands.h"
#include "import/ImportRun.h"

namespace setzaiko::cli {

// The book of one import, as every command starts from it.
struct ImportedBook
{
    explicit ImportedBook(Output& output) : m_output(output) {}
    ImportedBook(const ImportedBook&) = delete;
    ImportedBook& operator=(const ImportedBook&) = delete;
    // Leaves the book to the output's process end, where it keeps one.
    ~ImportedBook();

    ImportResult result;

    // Runs the import as the import button does; true on success.
    bool load(const QString& book);
    // The tables the import read; only after load.
    const MasterData& masters() const { return result.book->masters(); }
    // The workbook's folder, where an export writes unless told otherwise; only after load.
    const QString& folder() const { return result.book->folder(); }
    // Prints what the import command prints and returns its exit status.
    int report() const;

private:
    Output& m_output;
};

} // namespace setzaiko::cli
