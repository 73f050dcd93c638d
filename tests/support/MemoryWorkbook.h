#pragma once

#include "workbook/Workbook.h"

#include <QString>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

namespace setzaiko::testing {

CellValue text(const QString& value);
CellValue number(double value);
CellValue empty();

// A worksheet held in memory: its name, the width of its used part and its rows.
struct MemoryTable
{
    QString name;
    int usedColumns = 10;
    std::vector<std::vector<CellValue>> rows;
};

// What a test can observe of the workbooks an opener handed out.
struct MemoryWorkbookLog
{
    int opened = 0;
    int closed = 0;
    QStringList tablesOpened;

    // Fixes the order of tables read at the same time: table hands out its first row only once
    // other has been read to its end (or after a few seconds).
    void readAfter(const QString& table, const QString& other);

    // Holds the row of that index back until resume (or a few seconds pass), so that a test
    // can look at a run in the middle.
    void pauseBefore(const QString& table, std::size_t row);
    void resume();
    bool paused();

    // For the tables: called before the first row, before each row and at the end, on
    // whatever thread.
    void starting(const QString& table);
    void rowWanted(const QString& table, std::size_t row);
    void finished(const QString& table);

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<QString, QString> m_after;
    std::set<QString> m_finished;
    std::set<std::pair<QString, std::size_t>> m_pauses;
    bool m_paused = false;
};

// Opens the same in-memory workbook for any path, or fails to open when told to.
class MemoryWorkbookOpener : public WorkbookOpener
{
public:
    explicit MemoryWorkbookOpener(std::vector<MemoryTable> tables = {});

    std::unique_ptr<Workbook> open(const QString& path) override;

    std::vector<MemoryTable> tables;
    bool failToOpen = false;
    // Hands the texts out as a reader of shared strings does: kept by the workbook, which
    // textHolder keeps alive (CellValue::kept).
    bool keepTexts = false;
    QString lastPath;
    std::shared_ptr<MemoryWorkbookLog> log = std::make_shared<MemoryWorkbookLog>();
};

} // namespace setzaiko::testing
