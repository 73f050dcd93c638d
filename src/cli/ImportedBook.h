#pragma once

#include "cli/Commands.h"
#include "import/ImportRun.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"

namespace setzaiko::cli {

// The tables of one import, as every command starts from them.
struct ImportedBook
{
    ProductMaster products;
    StockMaster stocks;
    ImportResult result;

    // Runs the import as the import button does; true on success.
    bool load(const QString& book);
    // Prints what the import command prints and returns its exit status.
    int report(Output& output) const;
};

} // namespace setzaiko::cli
