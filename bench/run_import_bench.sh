#!/usr/bin/env bash
# Builds Release, runs the import benchmark (engine import, reader alone, FreeXL), times xlrd
# reading every cell of the same workbook, and measures the peak memory of
# `setzaiko-cli import` on it against the file size.
# Usage: bench/run_import_bench.sh [benchmark options, e.g. --benchmark_repetitions=3]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_ENGINE_ONLY=ON \
      -DSETZAIKO_TESTS=OFF -DSETZAIKO_BENCH=ON >/dev/null
cmake --build "$build" --parallel 2 --target setzaiko_import_bench setzaiko-cli bench_workbook
book="$build/bench/bench_workbook.xls"
size=$(stat -c %s "$book")
echo "== workbook: $book, $size bytes"

echo "== engine import, reader alone and FreeXL"
"$build/bench/setzaiko_import_bench" --benchmark_min_time=2 "$@"

echo "== xlrd reading every cell"
/usr/bin/python3 - "$book" <<'EOF'
import sys
import time

import xlrd

start = time.perf_counter()
book = xlrd.open_workbook(sys.argv[1])
cells = 0
for sheet in book.sheets():
    for row in range(sheet.nrows):
        for cell in sheet.row(row):
            if cell.ctype != xlrd.XL_CELL_EMPTY:
                cells += 1
print('xlrd: %.0f ms for %d cells' % ((time.perf_counter() - start) * 1000, cells))
EOF

echo "== peak memory of setzaiko-cli import"
if [ ! -x /usr/bin/time ]; then
    echo "/usr/bin/time is missing: scripts/install-deps.sh test installs it" >&2
    exit 1
fi
report=$(mktemp)
/usr/bin/time -v "$build/src/setzaiko-cli" import "$book" >/dev/null 2>"$report" || {
    cat "$report"
    exit 1
}
rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
elapsed=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$report")
rm -f "$report"
awk -v rss="$rss_kb" -v size="$size" -v elapsed="$elapsed" 'BEGIN {
    printf "setzaiko-cli import: %s wall clock, peak resident %.1f MB = %.2f x the file size (%.1f MB)\n",
           elapsed, rss / 1024, rss * 1024 / size, size / 1048576
}'
