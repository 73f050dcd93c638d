#pragma once

#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace setzaiko {

class WorkbookOpener;

// The row counts of one import run, as the count labels show them.
struct ImportCounts
{
    std::int32_t products = 0;
    std::int32_t stocks = 0;
    std::int64_t total() const { return std::int64_t{products} + stocks; }
};

// What the front does while the run goes on: the busy pattern once the tables are emptied,
// then the counts after every row read (skipped rows and other sheets' rows included).
class ImportObserver
{
public:
    virtual ~ImportObserver() = default;
    virtual void started() {}
    // Between the longer steps that read no row (opening the workbook, preparing a sheet),
    // so that the front can keep its window responsive there too.
    virtual void stepDone() {}
    // Now and then while the run waits for a sheet that is read on another thread.
    virtual void waiting() {}
    virtual void rowRead(const ImportCounts& counts) { Q_UNUSED(counts); }
};

// The value of the import window's ImportStatus after a run.
enum class ImportStatus : std::int16_t {
    Ok = 0,
    OverLimit = 1,
    NotNumeric = 2,
    NoRows = 3,
    Failed = 9,
};

struct ImportResult
{
    enum class Outcome { Refused, OverLimit, NotNumeric, NoRows, Success, Failed };

    Outcome outcome = Outcome::Refused;
    ImportStatus status = ImportStatus::Ok;
    bool beep = false;   // sounded before the message box
    QString messageBox;  // empty when the run shows no box
    QString messageLine; // final text of the message line (set after the box is closed)
    bool fileButtonEnabled = false;
    bool okButtonEnabled = false;
    bool exitButtonEnabled = false;
    // The counts the labels show at the end; nullopt when the labels were emptied and no row
    // was completed, or (Refused) left as they were.
    std::optional<ImportCounts> counts;
    // Why the run failed, in Japanese, then the technical detail on a line of its own: the
    // details of the failure box, and what the command line prints on standard error.
    QString failureDetail;
};

// One press of the import button: reads the workbook named by pathText (right-trimmed) into
// the two tables. The opener is kept by the caller for the whole program.
ImportResult runImport(const QString& pathText, WorkbookOpener& opener, ProductMaster& products,
                       StockMaster& stocks, ImportObserver* observer = nullptr);

// A count label's text ("###,##0").
QString countText(std::int64_t count);

} // namespace setzaiko
