#pragma once

#include "cli/Commands.h"
#include "import/ImportRun.h"
#include "master/MasterData.h"

namespace setzaiko::cli {

// The tables of one import, as every command starts from them.
struct ImportedBook
{
    MasterData masters;
    ImportResult result;

    // Runs the import as the import button does; true on success.
    bool load(const QString& book);
    // Prints what the import command prints and returns its exit status.
    int report(Output& output) const;
};

} // namespace setzaiko::cli
