#pragma once

#include "import/SheetRules.h"
#include "workbook/Workbook.h"

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
    // Opens the sheet here and reads it on a thread of its own; with no thread to be
    // had, the sheet is read when finish is called. A failure to open is kept for finish.
    SheetReadAhead(Workbook& workbook, const QString& name, TableKind kind, ProductMaster& products,
                   StockMaster& stocks);
    // Stops and waits for the thread, however the run ends. A sheet never handed over leaves
    // its table as the run found it: empty.
    ~SheetReadAhead();

    SheetReadAhead(const SheetReadAhead&) = delete;
    SheetReadAhead& operator=(const SheetReadAhead&) = delete;

    // Whether the table could be opened.
    bool opened() const { return m_table != nullptr; }

    // Hands the sheet over: waits for it to be read, calling idle now and then meanwhile.
    template <typename Idle>
    void finish(Idle idle)
    {
        m_handedOver = true;
        if (m_done.valid()) {
            while (m_done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) {
                idle();
            }
            m_done.get();
        } else if (m_table) {
            read();
        }
    }

    // The sheet's row count after the rows read so far; on any thread.
    std::int32_t rowsSoFar() const { return m_rowsSoFar.load(std::memory_order_relaxed); }
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
    bool m_handedOver = false;
    std::atomic<bool> m_stop{false};
    std::atomic<std::int32_t> m_rowsSoFar{0};
    std::future<void> m_done;
};

} // namespace setzaiko::importrun
