#include "support/MemoryWorkbook.h"

#include <QSet>

#include <chrono>
#include <deque>
#include <stdexcept>

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

// Streams a table's cells row by row, every cell its row holds, empty ones too.
class MemoryCells : public CellStream
{
public:
    MemoryCells(const MemoryTable& table, std::shared_ptr<MemoryWorkbookLog> log, bool keepTexts)
        : m_table(table), m_log(std::move(log))
    {
        if (keepTexts) {
            auto texts = std::make_shared<std::deque<QString>>();
            for (const auto& row : m_table.rows) {
                for (const CellValue& cell : row) {
                    if (cell.kind == CellValue::Kind::Text) {
                        texts->push_back(cell.toText());
                    }
                }
            }
            m_texts = std::move(texts);
        }
    }
    // The table's rows are all handed out when the assembler lets go of its cells.
    ~MemoryCells() override { m_log->finished(m_table.name); }

    SheetLayout start() override
    {
        m_log->starting(m_table.name);
        return {static_cast<int>(m_table.rows.size()), m_table.usedColumns, true};
    }

    bool next(StreamedCell& cell) override
    {
        // A row is wanted once the assembler asks past its first cell: by then every row
        // before it has been handed out and counted, as when rows were read whole.
        if (m_wantedPending) {
            m_wantedPending = false;
            m_log->rowWanted(m_table.name, m_wantedRow);
        }
        while (m_row < m_table.rows.size() && m_column >= m_table.rows[m_row].size()) {
            ++m_row;
            m_column = 0;
        }
        if (m_row >= m_table.rows.size()) {
            return false;
        }
        if (m_column == 0) {
            m_wantedPending = true;
            m_wantedRow = m_row;
        }
        cell.row = static_cast<int>(m_row);
        cell.column = static_cast<int>(m_column);
        cell.value = m_table.rows[m_row][m_column++];
        if (m_texts && cell.value.kind == CellValue::Kind::Text) {
            cell.value = CellValue::fromKeptText((*m_texts)[m_nextText++]);
        }
        return true;
    }

    std::shared_ptr<const void> textHolder() const override { return m_texts; }

private:
    const MemoryTable& m_table;
    std::shared_ptr<MemoryWorkbookLog> m_log;
    std::size_t m_row = 0;
    std::size_t m_column = 0;
    bool m_wantedPending = false;
    std::size_t m_wantedRow = 0;
    std::shared_ptr<const std::deque<QString>> m_texts; // the texts, when handed out kept
    std::size_t m_nextText = 0;
};

class MemoryWorkbook : public Workbook
{
public:
    MemoryWorkbook(const std::vector<MemoryTable>& tables, std::shared_ptr<MemoryWorkbookLog> log,
                   bool keepTexts)
        : m_tables(tables), m_log(std::move(log)), m_keepTexts(keepTexts)
    {
        ++m_log->opened;
    }
    ~MemoryWorkbook() override { ++m_log->closed; }

    void allSheetsOpened() override { m_allOpened = true; }

    QStringList sheetNames() const override
    {
        QStringList names;
        for (const MemoryTable& table : m_tables) {
            names.append(table.name);
        }
        return names;
    }

    std::unique_ptr<CellStream> openCells(const QString& name, int /*columnCount*/) override
    {
        if (m_allOpened) {
            throw std::logic_error("a sheet opened after allSheetsOpened");
        }
        m_log->tablesOpened.append(name);
        for (const MemoryTable& table : m_tables) {
            if (table.name == name) {
                return std::make_unique<MemoryCells>(table, m_log, m_keepTexts);
            }
        }
        throw WorkbookError("no such sheet");
    }

private:
    const std::vector<MemoryTable>& m_tables;
    std::shared_ptr<MemoryWorkbookLog> m_log;
    bool m_keepTexts;
    bool m_allOpened = false;
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
    // As every reader does: two sheets of one name, without regard to case, are damage.
    QSet<QString> names;
    for (const MemoryTable& table : tables) {
        if (names.contains(table.name.toCaseFolded())) {
            throw WorkbookError(WorkbookFailure::DuplicateSheet, "two sheets share a name");
        }
        names.insert(table.name.toCaseFolded());
    }
    return std::make_unique<MemoryWorkbook>(tables, log, keepTexts);
}

} // namespace setzaiko::testing
