#!/usr/bin/env bash
# Fuzzes the workbook readers with libFuzzer for SECONDS seconds in all (default 60), shared
# equally by the targets: the Excel 97-2003 reader, then the SpreadsheetML reader.
# Builds build-fuzz (clang, AddressSanitizer, UndefinedBehaviorSanitizer), seeds the corpora
# build-fuzz/corpus and build-fuzz/corpus-xlsx (kept between runs) with the committed workbooks,
# small generated ones and damaged variants of them, then runs. Exits non-zero when the fuzzer finds a crash, a leak, a
# timeout or an excessive allocation; the input is left in build-fuzz/artifacts/.
# Extra arguments after SECONDS go to the fuzzer (e.g. -jobs=2 -workers=2).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build-fuzz
jobs=$(nproc)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSETZAIKO_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$jobs" --target xls_reader_fuzzer xls_seed_damager \
    xlsx_reader_fuzzer >/dev/null

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

# The SpreadsheetML reader's seeds: the committed packages and the hand-made ones.
mkdir -p "$seeds/xlsx" "$build/corpus-xlsx"
/usr/bin/python3 tests/tools/make_xlsx_workbooks.py "$seeds" --small
find tests/data examples -type f \( -iname '*.xlsx' -o -name '*.xlsx.xls' \) -size -64k -print0 |
    while IFS= read -r -d '' file; do
        cp "$file" "$seeds/xlsx/$(echo "$file" | tr '/' '_')"
    done
for file in "$seeds"/xlsx/*; do
    [ -f "$file" ] && cp "$file" "$build/corpus-xlsx/seed-$(sha1sum "$file" | cut -c1-16)"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
targets=(xls_reader_fuzzer:corpus xlsx_reader_fuzzer:corpus-xlsx)
share=$(( seconds / ${#targets[@]} ))
[ "$share" -ge 1 ] || share=1
for entry in "${targets[@]}"; do
    target=${entry%%:*}
    corpus="$build/${entry##*:}"
    echo "fuzzing $target for $share s ($(find "$corpus" -type f | wc -l) inputs in the corpus)"
    status=0
    "$build/fuzz/$target" "$corpus" -max_total_time="$share" -rss_limit_mb=1024 \
        -malloc_limit_mb=512 -timeout=10 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/" "$@" >"$build/$target.log" 2>&1 || status=$?
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+ +DONE' \
        "$build/$target.log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$build/$target.log"
        echo "the fuzzer found a problem; its input is in $build/artifacts/" >&2
        exit "$status"
    fi
done
