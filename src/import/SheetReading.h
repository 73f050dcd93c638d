#pragma once

#include "import/SheetRules.h"
#include "workbook/Workbook.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace setzaiko::importrun {

// One sheet read through its rules into its table, on one thread, with what the run hands over
// of it: the row count after each row, its last offence and what ended it early.
//
// Its rows may go out before the sheet is read to its end; the table it fills then ends as if
// the sheet had been read whole first. Rows the sheet takes back (a restart) are taken back from
// the table too, and a failure of the sheet found after its first row leaves the table as the
// sheet found it, empty. Where the rules fail on a row, the sheet is still read to its end:
// damage in it comes first.
class SheetReading
{
public:
    SheetReading(TableKind kind, ProductMaster& products, StockMaster& stocks);

    // Opens the sheet, so that a reader that reads ahead starts now. A failure is kept for the
    // run to take over.
    void open(Workbook& workbook, const QString& name);
    // Reads a table opened already.
    void open(std::unique_ptr<WorkbookTable> table);
    bool opened() const { return m_table != nullptr; }

    // Reads the rows until the sheet ends, something ends it, or stop is set. Where the table
    // cannot take its rows back, rowDone, if any, is told the row count after each row as it is
    // read, and the counts are not kept; otherwise progress, if any, is told the row count
    // every so many rows.
    using RowCount = std::function<void(std::int32_t rows)>;
    void read(const std::atomic<bool>& stop, const RowCount& rowDone = {},
              const RowCount& progress = {});

    // The sheet's row count after the rows read so far; on any thread.
    std::int32_t rowsSoFar() const { return m_rowsSoFar.load(std::memory_order_relaxed); }
    // After read: the sheet's row count after each of its rows not told to rowDone, in order.
    const std::vector<std::int32_t>& rowsAfterEachRow() const { return m_rowsAfter; }
    ImportStatus offence() const { return m_rules.offence(); }
    // What ended the sheet early (or failed to open it), or nullptr.
    std::exception_ptr failure() const { return m_failure; }

    // Takes back every row the sheet added: for a sheet never handed over.
    void discardRows();

private:
    void takeBack();

    std::unique_ptr<WorkbookTable> m_table;
    SheetRules m_rules;
    std::vector<std::int32_t> m_rowsAfter;
    std::exception_ptr m_failure;
    std::atomic<std::int32_t> m_rowsSoFar{0};
};

} // namespace setzaiko::importrun
