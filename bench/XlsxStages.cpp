// The stages of an .xlsx import one after the other, each the fastest of ROUNDS rounds: the
// shared string table, then each master sheet read into its cells and handed out as rows.
// Beside bench/XlsxFloor.cpp, it shows which stage stands above the floor and by how much.
// Usage: setzaiko_xlsx_stages BOOK.xlsx [ROUNDS]   (ROUNDS, default 3)

#include "import/SheetRules.h"
#include "workbook/xlsx/XlsxWorkbook.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

using namespace setzaiko;
using namespace setzaiko::xlsx;

namespace {

double fastest(int rounds, const std::function<void()>& stage)
{
    double best = std::numeric_limits<double>::max();
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        stage();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s BOOK.xlsx [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    try {
        const auto workbook = XlsxWorkbook::openFile(QString::fromLocal8Bit(argv[1]));
        std::size_t strings = 0;
        const double stringsTook = fastest(rounds, [&] {
            strings = XlsxWorkbook::open(workbook->bytes())->sharedStrings().size();
        });
        std::printf("package and shared strings: %.3f s for %zu items\n", stringsTook, strings);
        for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
            const QString name = workbook->sheetName(sheet);
            const importrun::TableKind kind = importrun::kindOf(name);
            if (kind == importrun::TableKind::Other) {
                continue;
            }
            const int columns = importrun::columnsOf(kind);
            for (const RowRelease release : {RowRelease::WholeSheet, RowRelease::AsRead}) {
                std::size_t rows = 0;
                const double took = fastest(rounds, [&] {
                    const auto table = workbook->openSheet(name, columns, release);
                    std::vector<CellValue> cells;
                    rows = 0;
                    while (table->nextRow(cells)) {
                        ++rows;
                    }
                });
                std::printf("%s (%s): %.3f s for %zu rows of %d columns\n", qPrintable(name),
                            release == RowRelease::AsRead ? "as read" : "whole", took, rows,
                            columns);
            }
        }
    } catch (const WorkbookError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
