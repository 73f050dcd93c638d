#!/usr/bin/python3
"""Writes small .xlsx packages that claim or repeat far more than they hold, into FOLDER, for
bench/run_xlsx_memory_bench.sh. Each has the two master sheets, as wide as
the import reads them; the worksheet parts and the
shared strings are written in pieces, so that no part is ever held whole:

  strings-13m-empty.xlsx     13 million empty shared strings (about 98 KB), a count of 10^12
  strings-39m-empty.xlsx     39 million of them (about 295 KB)
  strings-2mb-empty.xlsx     as many as fit in a package of about 2 MB
  strings-2mb-alternating.xlsx  two texts alternating, about 2 MB: every item its own index
  cells-repeated.xlsx        one cell stored 8 million times after a row going back (about 430 KB)
  cells-2mb-repeated.xlsx    the same, about 2 MB

Usage: make_hostile_xlsx.py FOLDER
"""
import os
import sys
import zipfile

MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG = 'http://schemas.openxmlformats.org/package/2006/relationships'
PIECE = 1 << 20


def write_repeated(out, head, unit, count, tail):
    out.write(head.encode())
    block = (unit * max(1, PIECE // len(unit))).encode()
    per_block = max(1, PIECE // len(unit))
    while count >= per_block:
        out.write(block)
        count -= per_block
    out.write((unit * count + tail).encode())


def package(path, sheet_unit, sheet_count, string_unit, string_count):
    office = 'application/vnd.openxmlformats-officedocument.spreadsheetml.'
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml',
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-'
                   'package.relationships+xml"/><Default Extension="xml" ContentType="'
                   'application/xml"/><Override PartName="/xl/workbook.xml" ContentType="'
                   '%ssheet.main+xml"/></Types>' % office)
        z.writestr('_rels/.rels', '<Relationships xmlns="%s"><Relationship Id="rId1" '
                   'Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>'
                   % (PKG, REL))
        z.writestr('xl/workbook.xml',
                   '<workbook xmlns="%s" xmlns:r="%s"><sheets>'
                   '<sheet name="商品マスタ" sheetId="1" r:id="rId1"/>'
                   '<sheet name="在庫マスタ" sheetId="2" r:id="rId2"/></sheets></workbook>'
                   % (MAIN, REL))
        z.writestr('xl/_rels/workbook.xml.rels',
                   '<Relationships xmlns="%s">'
                   '<Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
                   '<Relationship Id="rId2" Type="%s/worksheet" Target="worksheets/sheet2.xml"/>'
                   '<Relationship Id="rId3" Type="%s/sharedStrings" Target="sharedStrings.xml"/>'
                   '</Relationships>' % (PKG, REL, REL, REL))
        with z.open('xl/worksheets/sheet1.xml', 'w', force_zip64=True) as out:
            write_repeated(out, '<worksheet xmlns="%s"><sheetData><row r="2"><c r="A2" t="s">'
                           '<v>0</v></c><c r="J2"><v>1</v></c></row><row r="1">' % MAIN, sheet_unit, sheet_count,
                           '</row></sheetData></worksheet>')
        z.writestr('xl/worksheets/sheet2.xml',
                   '<worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c>'
                   '<c r="H1"><v>1</v></c></row></sheetData></worksheet>' % MAIN)
        with z.open('xl/sharedStrings.xml', 'w', force_zip64=True) as out:
            write_repeated(out, '<sst xmlns="%s" uniqueCount="1000000000000"><si><t>P</t></si>'
                           % MAIN, string_unit, string_count, '</sst>')


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    cell = '<c r="A1"><v>1</v></c>'
    books = {
        'strings-13m-empty': (cell, 1, '<si/>', 13000000),
        'strings-39m-empty': (cell, 1, '<si/>', 39000000),
        'strings-2mb-empty': (cell, 1, '<si/>', 270000000),
        'strings-2mb-alternating': (cell, 1, '<si/><si><t>a</t></si>', 37000000),
        'cells-repeated': (cell, 8000000, '<si/>', 1),
        'cells-2mb-repeated': (cell, 37000000, '<si/>', 1),
    }
    for name, (sheet_unit, sheet_count, string_unit, string_count) in books.items():
        path = os.path.join(folder, name + '.xlsx')
        if not os.path.exists(path):
            package(path, sheet_unit, sheet_count, string_unit, string_count)
        print('%s\t%d' % (path, os.path.getsize(path)))


if __name__ == '__main__':
    main()
