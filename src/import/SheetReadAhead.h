#pragma once

#include "import/SheetReading.h"

#include <atomic>
#include <chrono>
#include <future>

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

    // Hands the sheet over: waits for it to be read, calling idle now and then meanwhile.
    template <typename Idle>
    const SheetReading& finish(Idle idle)
    {
        m_handedOver = true;
        if (m_done.valid()) {
            while (m_done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) {
                idle();
            }
            m_done.get();
        } else {
            m_sheet.read(m_stop);
        }
        return m_sheet;
    }

    const SheetReading& sheet() const { return m_sheet; }

private:
    SheetReading m_sheet;
    bool m_handedOver = false;
    std::atomic<bool> m_stop{false};
    std::future<void> m_done;
};

} // namespace setzaiko::importrun
