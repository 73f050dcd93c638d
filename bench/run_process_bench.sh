#!/usr/bin/env bash
# Whole-process timings on the benchmark workbook (both master sheets at 65,535 rows):
# `setzaiko-cli import` against FreeXL's open-and-read-every-cell program, run in pairs with
# the order alternating, so that both see the same state of the machine. Prints each median
# and the peak resident memory of the import against the file size.
# Usage: bench/run_process_bench.sh [PAIRS] (default 11)
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${1:-11}
build=build-bench

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_ENGINE_ONLY=ON \
      -DSETZAIKO_TESTS=OFF -DSETZAIKO_BENCH=ON >/dev/null
cmake --build "$build" --parallel 2 --target setzaiko-cli freexl_read_all bench_workbook >/dev/null
book="$build/bench/bench_workbook.xls"
cli="$build/src/setzaiko-cli"
freexl="$build/bench/freexl_read_all"
size=$(stat -c %s "$book")
echo "== workbook: $book, $size bytes; $pairs pairs"

# Seconds of one run of the command, its output discarded.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.6f\n", ns / 1e9 }'
}

"$cli" import "$book" >/dev/null # warm the page cache
cli_times=()
freexl_times=()
for ((i = 0; i < pairs; ++i)); do
    if ((i % 2 == 0)); then
        cli_times+=("$(seconds "$cli" import "$book")")
        freexl_times+=("$(seconds "$freexl" "$book")")
    else
        freexl_times+=("$(seconds "$freexl" "$book")")
        cli_times+=("$(seconds "$cli" import "$book")")
    fi
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
cli_median=$(median "${cli_times[@]}")
freexl_median=$(median "${freexl_times[@]}")
printf 'setzaiko-cli import: median %.3f s\nfreexl_read_all:     median %.3f s\n' \
    "$cli_median" "$freexl_median"
awk -v a="$cli_median" -v b="$freexl_median" 'BEGIN { printf "ratio (import / FreeXL): %.2f\n", a / b }'

report=$(mktemp)
/usr/bin/time -v "$cli" import "$book" >/dev/null 2>"$report"
rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
rm -f "$report"
awk -v rss="$rss_kb" -v size="$size" 'BEGIN {
    printf "setzaiko-cli import: peak resident %.1f MB = %.2f x the file size (%.1f MB)\n",
           rss / 1024, rss * 1024 / size, size / 1048576
}'
