#include "support/WorkbookSnapshot.h"

#include <QBuffer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <future>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace setzaiko::testing {

WorkbookSnapshot readSnapshot(xls::XlsWorkbook& workbook)
{
    WorkbookSnapshot snapshot;
    snapshot.sheetNames = workbook.sheetNames();
    for (int sheet = 0; sheet < workbook.sheetCount(); ++sheet) {
        SheetSnapshot s;
        s.name = workbook.sheetName(sheet);
        s.range = workbook.usedRange(sheet);
        workbook.forEachCell(sheet, [&s](int row, int column, const xls::XlsCell& cell) {
            s.cells.push_back({row, column, cell});
        });
        auto table = workbook.openSheet(s.name, s.range.columns);
        std::vector<CellValue> row;
        while (table->nextRow(row)) {
            // The snapshot outlives the workbook, whose shared strings the cells point into.
            for (CellValue& cell : row) {
                cell.ownText();
            }
            s.rows.push_back(row);
        }
        snapshot.sheets.push_back(std::move(s));
    }
    return snapshot;
}

WorkbookSnapshot readSnapshot(const QByteArray& file)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(file);
    buffer->open(QIODevice::ReadOnly);
    auto workbook = xls::XlsWorkbook::open(std::move(buffer));
    return readSnapshot(*workbook);
}

void finishWithin(int seconds, const QString& what, const std::function<void()>& work)
{
    std::packaged_task<void()> task(work);
    auto done = task.get_future();
    std::thread worker(std::move(task));
    if (done.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
        std::fprintf(stderr, "still running after %d s, giving up: %s\n", seconds,
                     what.toUtf8().constData());
        std::fflush(stderr);
        std::_Exit(3);
    }
    worker.join();
    done.get(); // rethrows what work threw
}

long peakMemoryMegabytes()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0) {
        return usage.ru_maxrss / 1024;
    }
#endif
    return 0;
}

} // namespace setzaiko::testing
