#!/usr/bin/env bash
# The import window against the command line on one large .xlsx. Builds Release, writes the
# workbook once (1,048,575 data rows in each master sheet, make_bench_workbook.py --direct)
# unless one is given, then three rounds of: `setzaiko-cli import` (wall clock), then the
# import through the window (setzaiko_import_window_bench, offscreen). Prints each figure with
# its goal: the longest gap between two handled events under 50 ms, the counts updated at least
# 10 times a second, the window's import no more than 10 % slower than the command line's.
# Usage: bench/run_window_bench.sh [WORKBOOK.xlsx]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_ENGINE_ONLY=OFF \
      -DSETZAIKO_TESTS=OFF -DSETZAIKO_BENCH=ON >/dev/null
cmake --build "$build" --parallel 2 --target setzaiko-cli setzaiko_import_window_bench
book=${1:-$build/bench/bench_workbook_1m.xlsx}
if [ ! -f "$book" ]; then
    echo "== writing $book"
    /usr/bin/python3 bench/make_bench_workbook.py "$book" --rows 1048575 --direct
fi
echo "== workbook: $book, $(stat -L -c %s "$book") bytes"
for round in 1 2 3; do
    start=$(date +%s.%N)
    "$build/src/setzaiko-cli" import "$book" >/dev/null
    end=$(date +%s.%N)
    printf 'round %d: setzaiko-cli import %.3f s\n' "$round" "$(echo "$end - $start" | bc)"
    QT_QPA_PLATFORM=offscreen "$build/bench/setzaiko_import_window_bench" "$book" 1 |
        sed "s/^run 1/round $round/"
done
echo "goals: longest gap under 50 ms; counts changed at least 10 times a second;"
echo "       the window's import at most 1.10 times the command line's"
