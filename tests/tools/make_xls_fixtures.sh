#!/usr/bin/env bash
# Remakes the committed .xls fixtures and the sample workbook from their .fods sources.
# Needs LibreOffice (libreoffice-calc, python3-uno), installed by hand: the build and
# the tests never run it, they read the committed .xls files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
xls="$root/tests/data/xls"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

/usr/bin/python3 "$root/tests/tools/make_fods.py" "$root"

cd "$xls"
soffice --headless --convert-to xls --outdir "$xls" formulas.fods fullsheet.fods extras.fods masters.fods
cd "$root/examples"
soffice --headless --convert-to xls --outdir "$root/examples" sample.fods

/usr/bin/python3 "$root/tests/tools/save_encrypted_xls.py" "$xls/masters.fods" "$xls/encrypted.xls" zaiko2024

mkdir -p "$xls/not-a-workbook"
cd "$xls"
printf '商品コード,商品名,在庫数\r\nP0001,緑茶,10\r\n' >"$xls/not-a-workbook/text.xls"
: >"$xls/not-a-workbook/empty.xls"

/usr/bin/python3 "$root/tests/tools/check_xls_fixtures.py" "$root"
# The .xlsx twins and fixtures of the SpreadsheetML reader.
"$root/tests/tools/make_xlsx_fixtures.sh"
