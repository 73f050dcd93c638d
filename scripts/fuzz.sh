#!/usr/bin/env bash
# Fuzzes the workbook reader with libFuzzer for SECONDS seconds (default 60).
# Builds build-fuzz (clang, AddressSanitizer, UndefinedBehaviorSanitizer), seeds the corpus
# build-fuzz/corpus (kept between runs) with the committed workbooks, small generated ones and
# damaged variants of them, then runs. Exits non-zero when the fuzzer finds a crash, a leak, a
# timeout or an excessive allocation; the input is left in build-fuzz/artifacts/.
# Extra arguments after SECONDS go to the fuzzer (e.g. -jobs=2 -workers=2).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build-fuzz
jobs=$(nproc)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSETZAIKO_FUZZ=ON -DSETZAIKO_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$jobs" --target xls_reader_fuzzer xls_seed_damager >/dev/null

# Seeds: small files only, so that mutations stay cheap.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/generated" "$seeds/files" "$build/corpus" "$build/artifacts"
/usr/bin/python3 tests/tools/make_workbooks.py "$seeds/generated" --small
if [ -d tests/data/xls ]; then
    find tests/data/xls -type f -iname '*.xls' -size -64k -print0 |
        while IFS= read -r -d '' file; do
            cp "$file" "$seeds/files/$(echo "$file" | tr '/' '_')"
        done
fi
find "$seeds/generated" -maxdepth 1 -type f -iname '*.xls' -size -64k -exec cp {} "$seeds/files/" \;
"$build/fuzz/xls_seed_damager" "$seeds/damaged" "$seeds/generated/masters_small.xls" \
    "$seeds/generated/numbers.xls" "$seeds/generated/strings.xls" >/dev/null
# The corpus keeps what earlier runs found; new seeds are added under their content hash.
for file in "$seeds"/files/* "$seeds"/damaged/*; do
    [ -f "$file" ] && cp "$file" "$build/corpus/seed-$(sha1sum "$file" | cut -c1-16)"
done

echo "fuzzing the workbook reader for $seconds s ($(find "$build/corpus" -type f | wc -l) inputs in the corpus)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
"$build/fuzz/xls_reader_fuzzer" "$build/corpus" -max_total_time="$seconds" -rss_limit_mb=1024 \
    -malloc_limit_mb=512 -timeout=10 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" "$@" >"$build/fuzz.log" 2>&1 || status=$?
grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+ +DONE' "$build/fuzz.log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$build/fuzz.log"
    echo "the fuzzer found a problem; its input is in $build/artifacts/" >&2
    exit "$status"
fi
