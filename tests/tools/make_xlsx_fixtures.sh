#!/usr/bin/env bash
# Remakes the committed .xlsx fixtures: the twin of every .xls fixture and of the sample
# workbook, converted by LibreOffice from the same .fods source, the rich-text workbook (and its
# .xls twin) from tests/data/xlsx/richtext.fods, the renamed package book.xlsx.xls, and the
# inline-string workbook written by openpyxl. Needs LibreOffice (libreoffice-calc-nogui), run by
# hand: the build and the tests read the committed files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
xls="$root/tests/data/xls"
xlsx="$root/tests/data/xlsx"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
office=(soffice "-env:UserInstallation=file://$tmp/profile" --headless)

cd "$xls"
"${office[@]}" --convert-to xlsx --outdir "$xls" formulas.fods fullsheet.fods extras.fods masters.fods
cd "$root/examples"
"${office[@]}" --convert-to xlsx --outdir "$root/examples" sample.fods
cd "$xlsx"
"${office[@]}" --convert-to xlsx --outdir "$xlsx" richtext.fods
"${office[@]}" --convert-to xls --outdir "$xlsx" richtext.fods
cp "$xls/masters.xlsx" "$xlsx/book.xlsx.xls"
/usr/bin/python3 "$root/tests/tools/make_inline_xlsx.py" "$xlsx/inline-openpyxl.xlsx"
