#include "support/TableRows.h"

namespace setzaiko::testing {

TableRows readTableRows(WorkbookTable& table)
{
    TableRows read;
    std::vector<CellValue> row;
    try {
        for (;;) {
            const bool more = table.nextRow(row);
            if (table.restarted()) {
                read.rows.clear();
                ++read.restarts;
            }
            if (!more) {
                break;
            }
            for (CellValue& cell : row) {
                cell.ownText();
            }
            read.rows.push_back(row);
        }
    } catch (const WorkbookError& error) {
        if (table.releasesRowsAsRead()) {
            read.rows.clear();
        }
        read.failed = true;
        read.failure = error.kind();
        read.detail = error.what();
    }
    return read;
}

} // namespace setzaiko::testing
