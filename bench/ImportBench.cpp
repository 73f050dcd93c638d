// The import of a full workbook (65,535 rows in each master sheet) by the engine, the reader
// alone, and FreeXL reading every cell of the same file for comparison. Given an .xlsx
// workbook, the engine and the SpreadsheetML reader alone (FreeXL reads no .xlsx).
// Usage: setzaiko_import_bench [--workbook=PATH] [benchmark options]

#include "import/ImportRun.h"
#include "workbook/WorkbookFileOpener.h"
#include "workbook/xls/XlsWorkbook.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/XlsxWorkbook.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <freexl.h>
#include <memory>
#include <string>

using namespace setzaiko;

namespace {

QString workbookPath = QStringLiteral(SETZAIKO_BENCH_WORKBOOK);

bool isXlsx()
{
    return workbookPath.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
}

void setCounters(benchmark::State& state, std::int64_t rows)
{
    const double bytes = double(QFileInfo(workbookPath).size());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    if (rows > 0) {
        state.counters["rows"] = benchmark::Counter(double(rows));
        state.counters["rows/s"] = benchmark::Counter(double(rows) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    }
}

// runImport into a new book, as one press of the import button. Freeing the book
// afterwards is no part of the import and is left out of the time, as closing FreeXL is below.
void engineImport(benchmark::State& state)
{
    WorkbookFileOpener opener;
    std::int64_t rows = 0;
    for (auto _ : state) {
        ImportResult result = runImport(workbookPath, opener);
        if (result.outcome != ImportResult::Outcome::Success) {
            state.SkipWithError("the import did not succeed");
            return;
        }
        rows = std::int64_t{result.book->products().count()} + result.book->stocks().count();
        benchmark::DoNotOptimize(rows);
        state.PauseTiming();
        result.book.reset();
        state.ResumeTiming();
    }
    setCounters(state, rows);
}

// The reader alone: open, every cell of every worksheet.
void readerAllCells(benchmark::State& state)
{
    std::int64_t cells = 0;
    if (isXlsx()) {
        for (auto _ : state) {
            cells = 0;
            auto workbook = xlsx::XlsxWorkbook::openFile(workbookPath);
            for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
                const xlsx::WorksheetCells read = workbook->readCells(sheet);
                cells += static_cast<std::int64_t>(read.valueCount());
                benchmark::DoNotOptimize(cells);
            }
        }
        state.counters["cells"] = benchmark::Counter(double(cells));
        setCounters(state, 0);
        return;
    }
    for (auto _ : state) {
        cells = 0;
        auto workbook = xls::XlsWorkbook::openFile(workbookPath);
        for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
            workbook->forEachCell(sheet, [&cells](int, int, const xls::XlsCell& cell) {
                benchmark::DoNotOptimize(cell.value.number);
                ++cells;
            });
        }
    }
    state.counters["cells"] = benchmark::Counter(double(cells));
    setCounters(state, 0);
}

// FreeXL: open, select every worksheet, read every cell of its dimensions.
void freeXlAllCells(benchmark::State& state)
{
    if (isXlsx()) {
        state.SkipWithError("FreeXL reads no .xlsx workbook");
        return;
    }
    const QByteArray path = QFileInfo(workbookPath).absoluteFilePath().toLocal8Bit();
    std::int64_t cells = 0;
    for (auto _ : state) {
        cells = 0;
        const void* handle = nullptr;
        if (freexl_open(path.constData(), &handle) != FREEXL_OK) {
            state.SkipWithError("FreeXL cannot open the workbook");
            return;
        }
        unsigned int sheets = 0;
        freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
        for (unsigned short s = 0; s < sheets; ++s) {
            unsigned int rows = 0;
            unsigned short columns = 0;
            freexl_select_active_worksheet(handle, s);
            freexl_worksheet_dimensions(handle, &rows, &columns);
            for (unsigned int r = 0; r < rows; ++r) {
                for (unsigned short c = 0; c < columns; ++c) {
                    FreeXL_CellValue value;
                    freexl_get_cell_value(handle, r, c, &value);
                    benchmark::DoNotOptimize(value);
                    cells += value.type != FREEXL_CELL_NULL;
                }
            }
        }
        state.PauseTiming();
        freexl_close(handle);
        state.ResumeTiming();
    }
    state.counters["cells"] = benchmark::Counter(double(cells));
    setCounters(state, 0);
}

} // namespace

BENCHMARK(engineImport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readerAllCells)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(freeXlAllCells)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--workbook=", 11) == 0) {
            workbookPath = QString::fromLocal8Bit(argv[i] + 11);
        }
    }
    if (!QFileInfo::exists(workbookPath)) {
        std::fprintf(stderr, "no workbook at %s: build the target bench_workbook first\n",
                     qPrintable(workbookPath));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
