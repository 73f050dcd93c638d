// Opens a workbook with FreeXL and reads every cell of every worksheet's dimensions: the
// whole-process yardstick for `setzaiko-cli import` in bench/run_process_bench.sh.
// Usage: freexl_read_all BOOK

#include <cstdio>
#include <freexl.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: freexl_read_all BOOK\n");
        return 64;
    }
    const void* handle = nullptr;
    if (freexl_open(argv[1], &handle) != FREEXL_OK) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    unsigned int sheets = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    unsigned long cells = 0;
    for (unsigned short sheet = 0; sheet < sheets; ++sheet) {
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, sheet) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            continue;
        }
        for (unsigned int row = 0; row < rows; ++row) {
            for (unsigned short column = 0; column < columns; ++column) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle, row, column, &value) == FREEXL_OK &&
                    value.type != FREEXL_CELL_NULL) {
                    ++cells;
                }
            }
        }
    }
    freexl_close(handle);
    std::printf("%lu cells\n", cells);
    return 0;
}
