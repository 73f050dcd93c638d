#pragma once

#include "workbook/xlsx/StoredPart.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/ZipArchive.h"

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace setzaiko::xlsx {

// The values of one worksheet part, read on a thread of its own through an archive of its own
// over a copy of the part's stored bytes (StoredPart), and handed over in batches as they are
// read. The thread reads freely until the reader first asks for a value, then no more than a
// few batches ahead of it.
//
// Only the part in its plainest form is read so: values in order, XML the reader's own scanner
// reads. For any other, the feed stops and says so (next), and the part is to be read whole.
//
// Where the workbook can be read again (reread: its bytes as they were, from the file), the
// copy of the part lets go of its bytes as they are read, and a part to be read whole after all
// is read from the workbook read again. A workbook that comes back of another size cannot be
// read (WorkbookFailure::Unreadable); one whose part changed is damaged, as its checksum tells.
using RereadWorkbook = std::function<QByteArray()>;

class WorksheetFeed : private WorksheetCells::BatchSink
{
public:
    WorksheetFeed(QByteArray bytes, const ZipEntry& entry, bool dates1904, int columnCount,
                  RereadWorkbook reread = {});
    // Stops the thread and waits for it.
    ~WorksheetFeed() override;

    WorksheetFeed(const WorksheetFeed&) = delete;
    WorksheetFeed& operator=(const WorksheetFeed&) = delete;

    enum class Step { Value, End, ReadWhole };
    // The next value, in the part's order. Throws what reading the part threw, after the
    // values read before it.
    Step next(SheetValue& value);
    // Once next has said ReadWhole: bytes to read the part whole from, and the part's entry in
    // them. The feed lets go of them as soon as it has read the part otherwise. Throws
    // WorkbookError where the workbook is to be read again and cannot be.
    struct PartToRead
    {
        QByteArray bytes;
        ZipEntry entry;
    };
    PartToRead takePart();
    // The used part of the values read so far (of the part, once next has said End).
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

private:
    struct Batch
    {
        enum class Kind { Values, End, ReadWhole, Failure } kind = Kind::Values;
        WorksheetCells cells;
        std::exception_ptr failure;
    };
    struct Stopped
    {};

    void run();
    void full(WorksheetCells& cells) override;
    void push(Batch batch);
    Batch pop();

    QByteArray m_bytes; // the workbook's, until the thread has its part
    ZipEntry m_entry;   // in the workbook's bytes
    RereadWorkbook m_reread;
    qsizetype m_workbookSize = 0;
    std::optional<StoredPart> m_part; // while the thread reads it
    bool m_dates1904;
    int m_columnCount;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_ready;
    std::vector<WorksheetCells> m_spare; // read, for the thread to fill again
    bool m_bounded = false;              // by the reader's first request
    bool m_stop = false;

    Batch m_current;
    std::optional<WorksheetCells::Reader> m_reader;
    bool m_ended = false;
    int m_rows = 0;
    int m_columns = 0;
    std::thread m_thread;
};

} // namespace setzaiko::xlsx
