#!/usr/bin/env bash
# Runs two builds of setzaiko-cli over the same commands and compares what they print (standard
# output, standard error, exit status) and the files they export, byte for byte.
#   tools/compare-cli.sh BASELINE NEW [BOOK|FOLDER...]
# Without BOOKs it takes every workbook under tests/data and examples/; a FOLDER gives every
# workbook under it. Each export runs in a
# folder of its own copy of the workbook, so that the default folder (the workbook's) is
# compared too. Prints one line per difference and a closing count; exits 1 on any difference.
set -u
baseline=$(realpath "$1")
new=$(realpath "$2")
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 0 ] && set -- "$root/tests/data" "$root/examples"
books=()
for place in "$@"; do
    if [ -d "$place" ]; then
        mapfile -t -O "${#books[@]}" books < <(find "$place" -type f \
            \( -name '*.xls' -o -name '*.xlsx' -o -name '*.xlsm' -o -name '*.fods' \
               -o -name 'not-a-workbook' \) | sort)
    else
        books+=("$place")
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TZ=UTC LANG=C.UTF-8
compared=0
differing=0


# compare ARGS...: the book is $book, copied as book.EXT into each run's folder.
compare() {
    local name
    name="book.${book##*.}"
    for tag in old new; do
        local cli=$baseline
        [ $tag = new ] && cli=$new
        rm -rf "$work/$tag" && mkdir -p "$work/$tag/out"
        cp "$book" "$work/$tag/$name"
        (cd "$work/$tag" && "$cli" "$1" "$work/$tag/$name" "${@:2}" >stdout 2>stderr
         echo $? >status)
        # The folder differs between the two runs; what stands in it must not.
        sed -i "s#$work/$tag/#FOLDER/#g" "$work/$tag/stdout" "$work/$tag/stderr"
    done
    compared=$((compared + 1))
    if ! diff -r -q "$work/old" "$work/new" >/dev/null; then
        differing=$((differing + 1))
        echo "DIFFERS: $(basename "$book") $*"
        diff -r "$work/old" "$work/new" | head -20
    fi
}

orders=("" 1 3 10 15 "1,000" 2.5 0 -3 abc "  7 " 99999999 2147483647 2147483648)
for book in "${books[@]}"; do
    compare import
    compare search
    compare search --code S
    compare search --name セット
    compare search --code 1 --name ギフト
    compare search --code ZZZ-NONE
    mapfile -t codes < <("$baseline" search "$book" 2>/dev/null | cut -f3 | head -n 6)
    codes+=("" "NO-SUCH-SET" " S0001")
    for code in "${codes[@]}"; do
        for order in "${orders[@]}"; do
            if [ -z "$order" ]; then
                compare components "$code"
                compare export "$code" --time 200512134530 --dir "out"
                compare export "$code" --time 200512134530
            else
                compare components "$code" --order "$order"
                compare export "$code" --order "$order" --time 261208090000 --dir "out/"
            fi
        done
    done
    compare export "${codes[0]}" --time 261208090000 --dir "/nonexistent/folder"
done
echo "compared: $compared commands over ${#books[@]} workbooks, $differing differing"
[ "$differing" -eq 0 ]
