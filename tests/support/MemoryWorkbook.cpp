#include "support/MemoryWorkbook.h"

#include <chrono>

namespace setzaiko::testing {

CellValue text(const QString& value)
{
    return CellValue::fromText(value);
}

CellValue number(double value)
{
    return CellValue::fromNumber(value);
}

CellValue empty()
{
    return {};
}

void MemoryWorkbookLog::finished(const QString& table)
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_finished.insert(table);
    }
    m_changed.notify_all();
}

void MemoryWorkbookLog::readAfter(const QString& table, const QString& other)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_after[table] = other;
}

void MemoryWorkbookLog::starting(const QString& table)
{
    std::unique_lock<std::mutex> hold(m_lock);
    const auto rule = m_after.find(table);
    if (rule != m_after.end()) {
        const QString other = rule->second;
        m_changed.wait_for(hold, std::chrono::seconds(5),
                           [&] { return m_finished.count(other) > 0; });
    }
}

void MemoryWorkbookLog::pauseBefore(const QString& table, std::size_t row)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_pauses.emplace(table, row);
}

void MemoryWorkbookLog::resume()
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_paused = false;
    }
    m_changed.notify_all();
}

bool MemoryWorkbookLog::paused()
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_paused;
}

void MemoryWorkbookLog::rowWanted(const QString& table, std::size_t row)
{
    std::unique_lock<std::mutex> hold(m_lock);
    if (m_pauses.erase({table, row}) > 0) {
        m_paused = true;
        m_changed.wait_for(hold, std::chrono::seconds(10), [&] { return !m_paused; });
        m_paused = false;
    }
}

namespace {

class MemoryTableReader : public WorkbookTable
{
public:
    MemoryTableReader(const MemoryTable& table, int columnCount,
                      std::shared_ptr<MemoryWorkbookLog> log)
        : m_table(table), m_columnCount(columnCount), m_log(std::move(log))
    {}

    bool nextRow(std::vector<CellValue>& cells) override
    {
        if (m_next == 0) {
            m_log->starting(m_table.name);
        }
        if (m_next >= m_table.rows.size()) {
            m_log->finished(m_table.name);
            return false;
        }
        if (m_columnCount > m_table.usedColumns) {
            throw WorkbookError("column beyond the used part");
        }
        m_log->rowWanted(m_table.name, m_next);
        const std::vector<CellValue>& row = m_table.rows[m_next++];
        cells.assign(static_cast<std::size_t>(m_columnCount), CellValue{});
        for (std::size_t c = 0; c < row.size() && c < cells.size(); ++c) {
            cells[c] = row[c];
        }
        return true;
    }

private:
    const MemoryTable& m_table;
    int m_columnCount;
    std::shared_ptr<MemoryWorkbookLog> m_log;
    std::size_t m_next = 0;
};

class MemoryWorkbook : public Workbook
{
public:
    MemoryWorkbook(const std::vector<MemoryTable>& tables, std::shared_ptr<MemoryWorkbookLog> log)
        : m_tables(tables), m_log(std::move(log))
    {
        ++m_log->opened;
    }
    ~MemoryWorkbook() override { ++m_log->closed; }

    QStringList tableNames() const override
    {
        QStringList names;
        for (const MemoryTable& table : m_tables) {
            names.append(table.name);
        }
        return names;
    }

    std::unique_ptr<WorkbookTable> openTable(const QString& name, int columnCount) override
    {
        m_log->tablesOpened.append(name);
        for (const MemoryTable& table : m_tables) {
            if (table.name == name) {
                return std::make_unique<MemoryTableReader>(table, columnCount, m_log);
            }
        }
        throw WorkbookError("no such table");
    }

private:
    const std::vector<MemoryTable>& m_tables;
    std::shared_ptr<MemoryWorkbookLog> m_log;
};

} // namespace

MemoryWorkbookOpener::MemoryWorkbookOpener(std::vector<MemoryTable> tables)
    : tables(std::move(tables))
{}

std::unique_ptr<Workbook> MemoryWorkbookOpener::open(const QString& path)
{
    lastPath = path;
    if (failToOpen) {
        throw WorkbookError("cannot open");
    }
    return std::make_unique<MemoryWorkbook>(tables, log);
}

} // namespace setzaiko::testing
