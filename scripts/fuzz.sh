#!/usr/bin/env bash
# Fuzzes the Excel 97-2003 reader, the whole import run, the SpreadsheetML reader and the XML
# scanner's whole elements with libFuzzer for SECONDS seconds in all (default 60), a quarter
# each.
# Builds build-fuzz (clang, AddressSanitizer, UndefinedBehaviorSanitizer), seeds each target's
# corpus (build-fuzz/corpus, build-fuzz/corpus-import, build-fuzz/corpus-xlsx and
# build-fuzz/corpus-xml, kept between runs) with the committed workbooks, small generated ones
# and damaged variants of them, or with the parts in fuzz/xml-seeds, then runs each (the two
# over Excel 97-2003 bytes with fuzz/workbook.dict, the other two with fuzz/xlsx.dict). Exits
# non-zero when any finds a crash, a leak, a timeout or an excessive allocation; the input is
# left in build-fuzz/artifacts/, named after the target.
# Extra arguments after SECONDS go to every fuzzer (e.g. -jobs=2 -workers=2).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build-fuzz
jobs=$(nproc)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSETZAIKO_FUZZ=ON -DSETZAIKO_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$jobs" \
    --target xls_reader_fuzzer import_run_fuzzer xlsx_reader_fuzzer xml_scanner_fuzzer \
    xls_seed_damager >/dev/null

# Seeds: small files only, so that mutations stay cheap.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/generated" "$seeds/files" "$build/artifacts"
/usr/bin/python3 tests/tools/make_workbooks.py "$seeds/generated" --small
if [ -d tests/data/xls ]; then
    find tests/data/xls -type f -iname '*.xls' -size -64k -print0 |
        while IFS= read -r -d '' file; do
            cp "$file" "$seeds/files/$(echo "$file" | tr '/' '_')"
        done
fi
find "$seeds/generated" -maxdepth 1 -type f -iname '*.xls' -size -64k -exec cp {} "$seeds/files/" \;
# The edits of the worksheet entries start from a product and a stock sheet, as the generated
# masters_small.xls and the committed masters.xls hold them.
"$build/fuzz/xls_seed_damager" "$seeds/damaged" "$seeds/generated/masters_small.xls" \
    tests/data/xls/masters.xls "$seeds/generated/numbers.xls" "$seeds/generated/strings.xls" \
    >/dev/null

# The SpreadsheetML reader's seeds: the committed packages and the hand-made ones.
mkdir -p "$seeds/xlsx"
/usr/bin/python3 tests/tools/make_xlsx_workbooks.py "$seeds" --small
find tests/data examples -type f \( -iname '*.xlsx' -o -name '*.xlsx.xls' \) -size -64k -print0 |
    while IFS= read -r -d '' file; do
        cp "$file" "$seeds/xlsx/$(echo "$file" | tr '/' '_')"
    done
# Each seed again with its parts stored, so that the dictionary's markup lands in their text.
/usr/bin/python3 tests/tools/store_xlsx_parts.py "$seeds/xlsx" >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# No share may be 0 s: libFuzzer would take that as no limit.
share=$((seconds / 4 > 0 ? seconds / 4 : 1))
failed=0

# fuzz TARGET CORPUS NAME SEEDS [fuzzer arguments...]: SEEDS is a glob of seed files.
fuzz() {
    local target=$1 corpus=$2 name=$3 seedFiles=$4
    shift 4
    mkdir -p "$corpus"
    # The corpus keeps what earlier runs found; new seeds are added under their content hash.
    for file in $seedFiles; do
        [ -f "$file" ] && cp "$file" "$corpus/seed-$(sha1sum "$file" | cut -c1-16)"
    done
    echo "fuzzing $name for $share s ($(find "$corpus" -type f | wc -l) inputs in the corpus)"
    local status=0 log="$build/fuzz-$target.log"
    "$build/fuzz/$target" "$corpus" -max_total_time="$share" -rss_limit_mb=1024 \
        -malloc_limit_mb=512 -timeout=10 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$@" >"$log" 2>&1 || status=$?
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+ +DONE' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log"
        echo "the fuzzer found a problem in $name; its input is in $build/artifacts/" >&2
        failed=$status
    fi
}

xlsSeeds="$seeds/files/* $seeds/damaged/*"
fuzz xls_reader_fuzzer "$build/corpus" "the Excel 97-2003 reader" "$xlsSeeds" \
    -dict=fuzz/workbook.dict "$@"
fuzz import_run_fuzzer "$build/corpus-import" "the import run" "$xlsSeeds" \
    -dict=fuzz/workbook.dict "$@"
fuzz xlsx_reader_fuzzer "$build/corpus-xlsx" "the SpreadsheetML reader" "$seeds/xlsx/*" \
    -dict=fuzz/xlsx.dict "$@"
fuzz xml_scanner_fuzzer "$build/corpus-xml" "the XML scanner's whole elements" "fuzz/xml-seeds/*" \
    -dict=fuzz/xlsx.dict "$@"
exit "$failed"
