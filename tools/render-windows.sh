#!/usr/bin/env bash
# Renders every window offscreen to PNG files (default: docs/images), walking the typical
# road with the sample workbooks. They are copied into a neutral folder first, so that the
# pictures show no path of the machine that renders them. Look at the pictures after changing
# a window.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/images}
scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target setzaiko-render
output=$(realpath -m "$output")
folder="${TMPDIR:-/tmp}/在庫データ"
rm -rf "$folder"
mkdir -p "$folder"
cp examples/sample.xls examples/sample.xlsx "$folder"/
trap 'rm -rf "$folder"' EXIT
# On a desktop-sized screen: the offscreen platform's own, 800 x 600, is smaller than the
# inquiry and component windows, which would then be shown in a scroll area.
QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/data/screens/desktop.json" \
    build/tools/setzaiko-render "$output" "$folder"
