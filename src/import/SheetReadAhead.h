#pragma once

#include "import/SheetRules.h"
#include "import/Workbook.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <memory>
#include <vector>

namespace setzaiko::importrun {

// The later of the two master sheets, read on a thread of its own while the sheets before it
// are read on the caller's. What it did is handed over when the run reaches it in workbook
// order, so the tables, the counts the observer sees, the status and a failure come out
// exactly as if the sheets had been read one after the other.
class SheetReadAhead
{
public:
    // Starts the thread. Throws std::system_error when no thread can be had.
    SheetReadAhead(std::unique_ptr<WorkbookTable> table, TableKind kind, ProductMaster& products,
                   StockMaster& stocks);
    // Stops and waits for the thread, however the run ends.
    ~SheetReadAhead();

    SheetReadAhead(const SheetReadAhead&) = delete;
    SheetReadAhead& operator=(const SheetReadAhead&) = delete;

    // Waits for the sheet to be read, calling idle now and then meanwhile.
    template <typename Idle>
    void finish(Idle idle)
    {
        while (m_done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) {
            idle();
        }
        m_done.get();
    }

    // After finish: the sheet's row count after each of its rows, in order.
    const std::vector<std::int32_t>& rowsAfterEachRow() const { return m_rowsAfter; }
    ImportStatus offence() const { return m_rules.offence(); }
    // After finish: what ended the sheet early, or nullptr.
    std::exception_ptr failure() const { return m_failure; }

private:
    void read();

    std::unique_ptr<WorkbookTable> m_table;
    SheetRules m_rules;
    std::vector<std::int32_t> m_rowsAfter;
    std::exception_ptr m_failure;
    std::atomic<bool> m_stop{false};
    std::future<void> m_done;
};

} // namespace setzaiko::importrun
