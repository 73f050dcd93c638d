// Feeds arbitrary bytes to the SpreadsheetML reader: opening, every table (10 columns, as the
// product master is read) and every cell of every worksheet. Refusing with WorkbookError is
// the only allowed failure; the sanitizers and libFuzzer's limits catch the rest. Each table
// is read whole and with its rows released as read, as the import reads it: where the two
// differ in a row or in the failure, the target traps. The checksums of stored entries are
// mended first, so that mutations of a stored part's text reach the XML.

#include "StoredChecksums.h"
#include "workbook/xlsx/CellReference.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/XlsxWorkbook.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace setzaiko;

namespace {

// The rows a table ends with as the import takes them, and its failure.
struct TableRead
{
    std::vector<std::vector<CellValue>> rows;
    std::string failure;

    bool operator==(const TableRead&) const = default;
};

TableRead readTable(xlsx::XlsxWorkbook& workbook, const QString& name, RowRelease release)
{
    TableRead read;
    try {
        const auto table = workbook.openSheet(name, 10, release);
        std::vector<CellValue> row;
        try {
            for (;;) {
                const bool more = table->nextRow(row);
                if (table->restarted()) {
                    read.rows.clear();
                }
                if (!more) {
                    break;
                }
                for (CellValue& cell : row) {
                    static_cast<void>(cell.toText());
                    cell.ownText();
                }
                read.rows.push_back(row);
            }
        } catch (const WorkbookError&) {
            if (table->releasesRowsAsRead()) {
                read.rows.clear();
            }
            throw;
        }
    } catch (const WorkbookError& error) {
        read.failure = error.what();
    }
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    fuzz::mendStoredChecksums(bytes);
    std::unique_ptr<xlsx::XlsxWorkbook> workbook;
    try {
        workbook = xlsx::XlsxWorkbook::open(std::move(bytes));
    } catch (const WorkbookError&) {
        return 0;
    }
    // Each table and sheet on its own, so that one refused sheet does not hide the others.
    for (const QString& name : workbook->sheetNames()) {
        if (!(readTable(*workbook, name, RowRelease::AsRead) ==
              readTable(*workbook, name, RowRelease::WholeSheet))) {
            __builtin_trap();
        }
    }
    for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
        try {
            const xlsx::WorksheetCells cells = workbook->readCells(sheet);
            if (cells.rows > xlsx::maxRows || cells.columns > xlsx::maxColumns) {
                __builtin_trap(); // a used part beyond the sheet's limits
            }
            xlsx::WorksheetCells::Reader reader(cells);
            xlsx::SheetValue value;
            while (reader.next(value)) {
                if (value.row >= static_cast<std::uint32_t>(cells.rows) ||
                    value.column >= cells.columns) {
                    __builtin_trap(); // a value outside the used part the reader reported
                }
                if (value.kind == xlsx::SheetValue::Kind::SharedText &&
                    value.sharedIndex >= workbook->sharedStrings().size()) {
                    __builtin_trap();
                }
            }
        } catch (const WorkbookError&) {
        }
    }
    return 0;
}
