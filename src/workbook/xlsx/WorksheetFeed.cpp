#include "workbook/xlsx/WorksheetFeed.h"

#include "workbook/xlsx/XlsxError.h"

#include <system_error>
#include <utility>

namespace setzaiko::xlsx {

namespace {

// With a page to spare for the value that crosses it, a batch fills one huge page: filling it
// takes few page faults, and its memory goes back whole once it has been read.
constexpr std::size_t batchSize = (2 << 20) - 4096;
constexpr std::size_t batchesAhead = 4;
// Enough for the thread never to wait for memory while the reader keeps up.
constexpr std::size_t spareBatches = 2;

} // namespace

WorksheetFeed::WorksheetFeed(QByteArray bytes, const ZipEntry& entry, bool dates1904,
                             int columnCount, RereadWorkbook reread)
    : m_bytes(std::move(bytes)), m_entry(entry), m_reread(std::move(reread)),
      m_workbookSize(m_bytes.size()), m_dates1904(dates1904), m_columnCount(columnCount)
{
    batchBytes = batchSize;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: the part is read whole.
        m_ready.push_back({Batch::Kind::ReadWhole, {}, nullptr});
    }
}

WorksheetFeed::~WorksheetFeed()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void WorksheetFeed::run()
{
    try {
        try {
            m_part.emplace(std::exchange(m_bytes, QByteArray()), m_entry);
            Batch last;
            {
                ZipArchive archive(m_part->bytes());
                if (m_reread) {
                    archive.noticeTaken(
                        [this](const char* untaken) { m_part->releaseBefore(untaken); });
                }
                last.cells = readWorksheetInBatches(archive, m_part->entry(), m_dates1904,
                                                    m_columnCount, *this);
            }
            m_part.reset(); // read: nothing will read it whole
            push(std::move(last));
            push({Batch::Kind::End, {}, nullptr});
        } catch (const WorksheetCells::ValuesOutOfOrder&) {
            push({Batch::Kind::ReadWhole, {}, nullptr});
        } catch (const PartNotScanned&) {
            push({Batch::Kind::ReadWhole, {}, nullptr});
        }
    } catch (const Stopped&) {
        // The reader is gone.
    } catch (...) {
        m_part.reset();
        try {
            push({Batch::Kind::Failure, {}, std::current_exception()});
        } catch (const Stopped&) {
        }
    }
}

void WorksheetFeed::full(WorksheetCells& cells)
{
    Batch batch;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_spare.empty()) {
            batch.cells = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    // The cells go on in the memory of the batch before, which the reader has let go.
    batch.cells.reserve(batchBytes + 4096);
    cells.moveValuesTo(batch.cells);
    push(std::move(batch));
}

void WorksheetFeed::push(Batch batch)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || !m_bounded || m_ready.size() < batchesAhead; });
    if (m_stop) {
        throw Stopped();
    }
    m_ready.push_back(std::move(batch));
    m_changed.notify_all();
}

WorksheetFeed::Batch WorksheetFeed::pop()
{
    std::unique_lock lock(m_mutex);
    if (!m_bounded) {
        m_bounded = true;
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return !m_ready.empty(); });
    Batch batch = std::move(m_ready.front());
    m_ready.pop_front();
    m_changed.notify_all();
    return batch;
}

WorksheetFeed::PartToRead WorksheetFeed::takePart()
{
    // The thread has ended by now: ReadWhole is the last it hands over.
    const std::lock_guard lock(m_mutex);
    if (!m_part) {
        return {std::exchange(m_bytes, QByteArray()), m_entry}; // no thread read it
    }
    if (!m_part->released()) {
        PartToRead part{m_part->ownBytes(), m_part->entry()};
        m_part.reset();
        return part;
    }
    m_part.reset();
    QByteArray workbook = m_reread();
    if (workbook.size() != m_workbookSize) {
        fail(WorkbookFailure::Unreadable, "the file changed while it was read");
    }
    return {std::move(workbook), m_entry};
}

WorksheetFeed::Step WorksheetFeed::next(SheetValue& value)
{
    for (;;) {
        if (m_reader && m_reader->next(value)) {
            return Step::Value;
        }
        if (m_ended) {
            return Step::End;
        }
        m_reader.reset();
        Batch batch = pop();
        // Read: the thread fills it again, unless enough wait for that already.
        if (m_current.kind == Batch::Kind::Values) {
            const std::lock_guard lock(m_mutex);
            if (m_spare.size() < spareBatches) {
                m_spare.push_back(std::move(m_current.cells));
            }
        }
        m_current = std::move(batch);
        switch (m_current.kind) {
        case Batch::Kind::Values:
            m_rows = m_current.cells.rows;
            m_columns = m_current.cells.columns;
            m_reader.emplace(m_current.cells);
            break;
        case Batch::Kind::End:
            m_ended = true;
            return Step::End;
        case Batch::Kind::ReadWhole:
            m_ended = true;
            return Step::ReadWhole;
        case Batch::Kind::Failure:
            m_ended = true;
            std::rethrow_exception(m_current.failure);
        }
    }
}

} // namespace setzaiko::xlsx
