// Feeds arbitrary bytes to the workbook reader: opening, every table (10 columns, as the
// product master is read) and every cell. Refusing with WorkbookError is the only allowed
// failure; the sanitizers and libFuzzer's limits catch the rest.

#include "workbook/xls/XlsWorkbook.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace setzaiko;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    buffer->open(QIODevice::ReadOnly);
    std::unique_ptr<xls::XlsWorkbook> workbook;
    try {
        workbook = xls::XlsWorkbook::open(std::move(buffer));
    } catch (const WorkbookError&) {
        return 0;
    }
    QStringList names;
    try {
        names = workbook->sheetNames();
    } catch (const WorkbookError&) {
        return 0;
    }
    // Each table and sheet on its own, so that one refused sheet does not hide the others.
    for (const QString& name : names) {
        try {
            auto table = workbook->openSheet(name, 10);
            std::vector<CellValue> row;
            while (table->nextRow(row)) {
                for (const CellValue& cell : row) {
                    static_cast<void>(cell.toText());
                }
            }
        } catch (const WorkbookError&) {
        }
    }
    for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
        try {
            const xls::UsedRange range = workbook->usedRange(sheet);
            workbook->forEachCell(sheet, [&range](int row, int column, const xls::XlsCell& cell) {
                if (row < 0 || column < 0 || row >= range.rows || column >= range.columns) {
                    __builtin_trap(); // a cell outside the used range the reader reported
                }
                static_cast<void>(cell.value.toText());
            });
        } catch (const WorkbookError&) {
        }
    }
    return 0;
}
