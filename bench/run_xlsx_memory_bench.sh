#!/usr/bin/env bash
# The peak memory of `setzaiko-cli import` on small .xlsx packages that claim or repeat far
# more than they hold (bench/make_hostile_xlsx.py), held against the goal: under 256 MB for
# any package under 2 MB. Builds Release like run_xlsx_bench.sh; the packages are written once
# into build-bench/bench/hostile/ and kept.
# Usage: bench/run_xlsx_memory_bench.sh [setzaiko-cli]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
cli=${1:-}
if [ -z "$cli" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_ENGINE_ONLY=ON \
          -DSETZAIKO_TESTS=OFF -DSETZAIKO_BENCH=ON >/dev/null
    cmake --build "$build" --parallel 2 --target setzaiko-cli
    cli="$build/src/setzaiko-cli"
fi
if [ ! -x /usr/bin/time ]; then
    echo "/usr/bin/time is missing: scripts/install-deps.sh test installs it" >&2
    exit 1
fi
/usr/bin/python3 bench/make_hostile_xlsx.py "$build/bench/hostile" |
while IFS=$'\t' read -r book size; do
    report=$(mktemp)
    status=0
    # At most 4 GiB of address space, so that a build that fails the goal cannot exhaust a
    # shared machine: it fails instead (exit 1).
    (ulimit -v $((4 << 20)); /usr/bin/time -v "$cli" import "$book" >/dev/null 2>"$report") ||
        status=$?
    awk -F': ' -v book="$(basename "$book")" -v size="$size" -v status="$status" '
        /Elapsed \(wall clock\)/ {wall = $2} /Maximum resident set size/ {rss = $2}
        END {printf "%-30s %7.0f KB  exit %d  %s wall clock  peak resident %6.1f MB%s\n",
                    book, size / 1024, status, wall, rss / 1024,
                    rss / 1024 < 256 ? "" : "  (goal: under 256 MB)"}' "$report"
    rm -f "$report"
done
