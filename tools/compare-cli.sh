#!/usr/bin/env bash
# Runs two builds of setzaiko-cli over every workbook under tests/data and examples/ (and the
# folders given after them, such as build/tests/generated) and compares what they print,
# their exit statuses and the files export writes, byte for byte. Prints one line per
# difference and a summary; exits 1 when anything differs.
# Usage: tools/compare-cli.sh BASELINE NEW [MORE_FOLDERS...]
set -uo pipefail
cd "$(dirname "$0")/.."
baseline=$(realpath "$1")
new=$(realpath "$2")
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compared=0
differing=0

# Runs one command with both programs; the export folder is the same path for both, emptied
# before each, so that the printed paths agree.
compare() {
    local label=$1
    shift
    local side
    for side in baseline new; do
        rm -rf "$work/out" && mkdir -p "$work/out"
        local program=$baseline
        [ "$side" = new ] && program=$new
        (cd "$work/out" && "$program" "$@" >"$work/$side.stdout" 2>"$work/$side.stderr"
         echo $? >"$work/$side.status")
        rm -rf "$work/$side.files" && mv "$work/out" "$work/$side.files"
    done
    compared=$((compared + 1))
    local part
    for part in stdout stderr status; do
        if ! cmp -s "$work/baseline.$part" "$work/new.$part"; then
            echo "DIFFERS ($part): $label"
            differing=$((differing + 1))
            return
        fi
    done
    if ! diff -r "$work/baseline.files" "$work/new.files" >/dev/null; then
        echo "DIFFERS (exported files): $label"
        differing=$((differing + 1))
    fi
}

mapfile -d '' books < <(find tests/data examples "$@" -type f \
    \( -iname '*.xls' -o -iname '*.xlsx' -o -iname '*.xlsm' \) -print0 | sort -z)
for book in "${books[@]}"; do
    compare "import $book" import "$PWD/$book"
    compare "search $book" search "$PWD/$book"
    compare "search --code 1 --name セ $book" search "$PWD/$book" --code 1 --name セ
    # The first set products the baseline lists, and one that is not there.
    mapfile -t sets < <("$baseline" search "$PWD/$book" 2>/dev/null | cut -f1 | head -n 3)
    for set in "${sets[@]}" NO-SUCH-SET; do
        compare "components $book $set" components "$PWD/$book" "$set"
        for order in 1 5 99999999 abc; do
            compare "components $book $set --order $order" components "$PWD/$book" "$set" \
                --order "$order"
        done
        compare "export $book $set" export "$PWD/$book" "$set" --time 240102030405 \
            --dir "$work/out"
        compare "export $book $set --order 5" export "$PWD/$book" "$set" --order 5 \
            --time 240102030405 --dir "$work/out"
    done
done
compare "import (blank path)" import ""
compare "import (missing file)" import "$work/none.xls"
echo "compared $compared commands over ${#books[@]} workbooks: $differing differ"
[ "$differing" -eq 0 ]
