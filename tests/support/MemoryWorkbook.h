#pragma once

#include "import/Workbook.h"

#include <QString>

#include <memory>
#include <vector>

namespace setzaiko::testing {

CellValue text(const QString& value);
CellValue number(double value);
CellValue empty();

// A worksheet held in memory: its table name, the width of its used part and its rows.
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
};

// Opens the same in-memory workbook for any path, or fails to open when told to.
class MemoryWorkbookOpener : public WorkbookOpener
{
public:
    explicit MemoryWorkbookOpener(std::vector<MemoryTable> tables = {});

    std::unique_ptr<Workbook> open(const QString& path) override;

    std::vector<MemoryTable> tables;
    bool failToOpen = false;
    QString lastPath;
    std::shared_ptr<MemoryWorkbookLog> log = std::make_shared<MemoryWorkbookLog>();
};

} // namespace setzaiko::testing
