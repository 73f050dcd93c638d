#pragma once

#include "import/ImportedBook.h"

#include <QString>

#include <memory>
#include <optional>

namespace setzaiko {

class WorkbookOpener;

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
    // Now and then while the run waits for a sheet that is read on another thread, or reads a
    // sheet whose rows may still be taken back, with the counts as they stand after the rows of
    // it read so far: what a front shows meanwhile. The rows themselves are passed to rowRead
    // once the sheet is handed over.
    virtual void waiting(const ImportCounts& soFar) { Q_UNUSED(soFar); }
    virtual void rowRead(const ImportCounts& counts) { Q_UNUSED(counts); }
};

struct ImportResult
{
    using Outcome = ImportOutcome;

    Outcome outcome = Outcome::Refused;
    ImportStatus status = ImportStatus::Ok;
    // The counts after the last completed row; nullopt when no row was completed, or (Refused)
    // when nothing was read.
    std::optional<ImportCounts> counts;
    // Why the run failed, in Japanese, then the technical detail on a line of its own.
    QString failureDetail;
    // What the run read, in every outcome but Refused (which reads nothing and leaves the
    // tables as they were): the book the application takes in place of the one it held.
    std::shared_ptr<const ImportedBook> book;
};

// Whether a press of the import button with this text in the path box is refused at once.
bool refusesPath(const QString& pathText);

// One press of the import button: reads the workbook named by pathText (right-trimmed) into a
// new book, on the calling thread; the observer is called on it too. The opener is kept by the
// caller for the whole program; it is used by one run at a time.
ImportResult runImport(const QString& pathText, WorkbookOpener& opener,
                       ImportObserver* observer = nullptr);

} // namespace setzaiko
