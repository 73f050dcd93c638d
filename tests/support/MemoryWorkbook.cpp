#include "support/MemoryWorkbook.h"

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

namespace {

class MemoryTableReader : public WorkbookTable
{
public:
    MemoryTableReader(const MemoryTable& table, int columnCount)
        : m_table(table), m_columnCount(columnCount)
    {}

    bool nextRow(std::vector<CellValue>& cells) override
    {
        if (m_next >= m_table.rows.size()) {
            return false;
        }
        if (m_columnCount > m_table.usedColumns) {
            throw WorkbookError("column beyond the used part");
        }
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
                return std::make_unique<MemoryTableReader>(table, columnCount);
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
