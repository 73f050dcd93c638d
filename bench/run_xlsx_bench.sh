#!/usr/bin/env bash
# The .xlsx import benchmark. Builds Release, then:
#  1. a workbook written by openpyxl with both master sheets at 65,535 data rows: the engine's
#     import (Google Benchmark) and openpyxl in read-only mode reading every cell, in three
#     pairs one right after the other, with each pair's ratio and their median, and the peak
#     memory of `setzaiko-cli import`;
#  2. unless --no-large: a workbook with both master sheets at 1,048,575 data rows (written
#     straight as a spreadsheet application stores it, see make_bench_workbook.py --direct):
#     the floor (setzaiko_xlsx_floor), the wall clock and peak memory of `setzaiko-cli import`,
#     the import's stages one after the other (setzaiko_xlsx_stages), then the inquiry benchmark
#     on it (the first search, listing and simulation after the import, and their steady times);
#  3. the .xls benchmark workbook beside them: the engine's import and the peak memory of
#     `setzaiko-cli import`, the figures bench/run_import_bench.sh and run_process_bench.sh
#     give in full.
# The workbooks are written once into build-bench/bench/ and kept. The goals each figure is
# held against are printed beside it.
# Usage: bench/run_xlsx_bench.sh [--no-large]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_ENGINE_ONLY=ON \
      -DSETZAIKO_TESTS=OFF -DSETZAIKO_BENCH=ON >/dev/null
cmake --build "$build" --parallel 2 --target setzaiko_import_bench setzaiko_inquiry_bench \
      setzaiko-cli bench_workbook setzaiko_xlsx_floor setzaiko_xlsx_stages
if [ ! -x /usr/bin/time ]; then
    echo "/usr/bin/time is missing: scripts/install-deps.sh test installs it" >&2
    exit 1
fi

# Prints the wall clock, processor time and peak resident memory of one command. On a shared
# machine the wall clock of a program with two threads suffers more than that of one with one,
# so the processor time is given too.
measure() {
    local report
    report=$(mktemp)
    /usr/bin/time -v "$@" >/dev/null 2>"$report" || { cat "$report"; rm -f "$report"; exit 1; }
    awk -F': ' '/Elapsed \(wall clock\)/ {wall = $2} /Maximum resident set size/ {rss = $2}
                /User time/ {user = $2} /System time/ {sys = $2}
                END {printf "%s wall clock, %.2f s processor time, peak resident %.1f MB\n",
                            wall, user + sys, rss / 1024}' "$report"
    rm -f "$report"
}

book="$build/bench/bench_workbook.xlsx"
if [ ! -f "$book" ]; then
    echo "== writing $book with openpyxl"
    /usr/bin/python3 bench/make_bench_workbook.py "$book"
fi
echo "== workbook: $book, $(stat -L -c %s "$book") bytes"
# The machine's speed drifts by tens of percent within minutes, so the two are measured in
# pairs, one right after the other, three times; each pair gives a ratio, and the median is
# the figure held against the goal.
json=$(mktemp)
ratios=()
for round in 1 2 3; do
    echo "== round $round: the engine's import, then openpyxl (read-only) reading every cell"
    "$build/bench/setzaiko_import_bench" --workbook="$book" --benchmark_filter='engineImport' \
        --benchmark_min_time=1 --benchmark_out="$json" --benchmark_out_format=json | grep engineImport
    ratio=$(/usr/bin/python3 - "$book" "$json" <<'PY'
import json
import sys
import time

import openpyxl

start = time.perf_counter()
book = openpyxl.load_workbook(sys.argv[1], read_only=True, data_only=True)
cells = 0
for sheet in book.worksheets:
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is not None:
                cells += 1
book.close()
seconds = time.perf_counter() - start
engine = [b for b in json.load(open(sys.argv[2]))['benchmarks']
          if b['name'].startswith('engineImport')][0]
engine_ms = engine['real_time'] if engine['time_unit'] == 'ms' else engine['real_time'] / 1e6
print('openpyxl read-only: %.0f ms for %d cells; engine import: %.1f ms; %.1f times faster'
      % (seconds * 1000, cells, engine_ms, seconds * 1000 / engine_ms), file=sys.stderr)
print('%.1f' % (seconds * 1000 / engine_ms))
PY
)
    ratios+=("$ratio")
done
rm -f "$json"
median=$(printf '%s\n' "${ratios[@]}" | sort -n | sed -n 2p)
echo "engine import vs openpyxl read-only: ${ratios[*]} times faster; median $median (goal: 60 times)"
echo "== setzaiko-cli import $book (goal: peak resident under 60 MB)"
measure "$build/src/setzaiko-cli" import "$book"

xls="$build/bench/bench_workbook.xls"
echo "== the .xls workbook: $xls, $(stat -c %s "$xls") bytes (goal: no worse than before)"
"$build/bench/setzaiko_import_bench" --workbook="$xls" --benchmark_filter='engineImport' \
    --benchmark_min_time=2 2>/dev/null | grep engineImport
echo "== setzaiko-cli import $xls"
measure "$build/src/setzaiko-cli" import "$xls"

if [ "${1:-}" = --no-large ]; then
    exit 0
fi
large="$build/bench/bench_workbook_1m.xlsx"
if [ ! -f "$large" ]; then
    echo "== writing $large"
    /usr/bin/python3 bench/make_bench_workbook.py "$large" --rows 1048575 --direct
fi
echo "== workbook: $large, $(stat -L -c %s "$large") bytes"
echo "== the floor: inflating both master sheets and one pass over their XML, on one core"
"$build/bench/setzaiko_xlsx_floor" "$large" 3
echo "== setzaiko-cli import $large (goal: within twice the floor, peak resident under 400 MB)"
measure "$build/src/setzaiko-cli" import "$large"
echo "== the import's stages one after the other"
"$build/bench/setzaiko_xlsx_stages" "$large" 3
echo "== inquiry on it (goal: the first search, listing and simulation each under 50 ms)"
"$build/bench/setzaiko_inquiry_bench" --workbook="$large" --big-set=P1048570 \
    --benchmark_filter='filteredSearch|listing100|simulation100'
