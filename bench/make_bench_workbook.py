#!/usr/bin/python3
"""Writes the import benchmark's workbook: both master sheets full (a heading row and
65,535 data rows each), with content like a real one: about 6,500 set products of about ten
components each in 商品マスタ, 65,535 products with Japanese names in 在庫マスタ. About 15 MB.
The set products are the stock rows flagged "1" (every tenth, P000000, P000010, ...); the last
one in 商品マスタ, P065530, has exactly 100 components, for the listing benchmarks.

Usage: make_bench_workbook.py OUTPUT.xls|OUTPUT.xlsx [--rows N] [--direct]
  OUTPUT.xls    written by xlwt
  OUTPUT.xlsx   the same rows written by openpyxl (Debian's openpyxl 3.0 saves every text as an
                inline string, its non-ASCII characters as character references: 7.4 MB)
  --rows N      N data rows in each master sheet instead of 65,535 (up to 1,048,575); the set
                with 100 components is then the last one, P<10 * (N // 10)>, printed at the end
  --direct      .xlsx only: write the package's XML straight into the zip, as a spreadsheet
                application stores it (shared strings, cell references), for sizes openpyxl
                would need gigabytes of memory and many minutes for
"""
import os
import random
import sys
import tempfile
import zipfile
from xml.sax.saxutils import escape

DATA_ROWS = 65535
BIG_SET = 6553          # P065530
BIG_SET_COMPONENTS = 100
KANA = 'アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン'
KANJI = '赤青白黒大小丸角長短軽重新旧上下左右前後内外金銀銅鉄木竹紙布革'
UNITS = ['個', '箱', '本', '枚', '袋', 'セット', '台']


def product_name(rng, i):
    return '%s%s%s 第%d号' % (''.join(rng.choice(KANJI) for _ in range(rng.randint(1, 3))),
                             ''.join(rng.choice(KANA) for _ in range(rng.randint(3, 9))),
                             rng.choice(['部品', 'パーツ', 'ユニット', 'セット']), i)


class XlwtBook:
    def __init__(self):
        import xlwt
        self.book = xlwt.Workbook(encoding='utf-8')

    def add_sheet(self, name):
        return self.book.add_sheet(name)

    def save(self, path):
        self.book.save(path)


class OpenpyxlBook:
    class Sheet:
        def __init__(self, sheet):
            self.sheet = sheet

        def write(self, row, col, value):
            self.sheet.cell(row=row + 1, column=col + 1, value=value)

        def flush_row_data(self):
            pass

    def __init__(self):
        import openpyxl
        self.book = openpyxl.Workbook()
        self.book.remove(self.book.active)

    def add_sheet(self, name):
        return self.Sheet(self.book.create_sheet(name))

    def save(self, path):
        self.book.save(path)


class DirectBook:
    """Streams each sheet's XML to a temporary file, row by row (rows and their cells are
    written in order), with one shared string table."""
    MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
    REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'

    class Sheet:
        def __init__(self, book, name):
            self.book, self.name = book, name
            self.file = tempfile.TemporaryFile(mode='w+', encoding='utf-8')
            self.file.write('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                            '<worksheet xmlns="%s"><sheetData>' % DirectBook.MAIN)
            self.row, self.cells = None, []

        def end_row(self):
            if self.row is not None:
                self.file.write('<row r="%d">%s</row>' % (self.row + 1, ''.join(self.cells)))
            self.cells = []

        def write(self, row, col, value):
            if row != self.row:
                self.end_row()
                self.row = row
            ref = column_name(col) + str(row + 1)
            if isinstance(value, str):
                index = self.book.strings.setdefault(value, len(self.book.strings))
                self.cells.append('<c r="%s" t="s"><v>%d</v></c>' % (ref, index))
            else:
                self.cells.append('<c r="%s"><v>%r</v></c>' % (ref, value))

        def flush_row_data(self):
            pass

        def close(self):
            self.end_row()
            self.file.write('</sheetData></worksheet>')
            self.file.seek(0)

    def __init__(self):
        self.sheets, self.strings = [], {}

    def add_sheet(self, name):
        self.sheets.append(self.Sheet(self, name))
        return self.sheets[-1]

    def save(self, path):
        for sheet in self.sheets:
            sheet.close()
        n = len(self.sheets)
        types = ''.join('<Override PartName="/xl/worksheets/sheet%d.xml" ContentType="application/'
                        'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>' % i
                        for i in range(1, n + 1))
        with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=6) as z:
            z.writestr('[Content_Types].xml',
                       '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                       '<Default Extension="rels" ContentType="application/vnd.openxmlformats-'
                       'package.relationships+xml"/><Default Extension="xml" ContentType="'
                       'application/xml"/><Override PartName="/xl/workbook.xml" ContentType="'
                       'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+'
                       'xml"/><Override PartName="/xl/sharedStrings.xml" ContentType="application/'
                       'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>%s'
                       '</Types>' % types)
            z.writestr('_rels/.rels',
                       '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                       'relationships"><Relationship Id="rId1" Type="%s/officeDocument" '
                       'Target="xl/workbook.xml"/></Relationships>' % self.REL)
            z.writestr('xl/workbook.xml',
                       '<workbook xmlns="%s" xmlns:r="%s"><sheets>%s</sheets></workbook>'
                       % (self.MAIN, self.REL, ''.join(
                           '<sheet name="%s" sheetId="%d" r:id="rId%d"/>' % (s.name, i, i)
                           for i, s in enumerate(self.sheets, 1))))
            z.writestr('xl/_rels/workbook.xml.rels',
                       '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                       'relationships">%s<Relationship Id="rId%d" Type="%s/sharedStrings" '
                       'Target="sharedStrings.xml"/></Relationships>'
                       % (''.join('<Relationship Id="rId%d" Type="%s/worksheet" '
                                  'Target="worksheets/sheet%d.xml"/>' % (i, self.REL, i)
                                  for i in range(1, n + 1)), n + 1, self.REL))
            with z.open('xl/sharedStrings.xml', 'w', force_zip64=True) as out:
                out.write(('<sst xmlns="%s" uniqueCount="%d">' % (self.MAIN, len(self.strings)))
                          .encode())
                chunk = []
                for text in self.strings:
                    chunk.append('<si><t xml:space="preserve">%s</t></si>' % escape(text))
                    if len(chunk) == 10000:
                        out.write(''.join(chunk).encode())
                        chunk = []
                out.write((''.join(chunk) + '</sst>').encode())
            for i, sheet in enumerate(self.sheets, 1):
                with z.open('xl/worksheets/sheet%d.xml' % i, 'w', force_zip64=True) as out:
                    while True:
                        block = sheet.file.read(1 << 20)
                        if not block:
                            break
                        out.write(block.encode())


def column_name(col):
    name = ''
    col += 1
    while col:
        col, rest = divmod(col - 1, 26)
        name = chr(ord('A') + rest) + name
    return name


def main():
    global DATA_ROWS, BIG_SET
    args = sys.argv[1:]
    rows = None
    if '--rows' in args:
        at = args.index('--rows')
        rows = int(args[at + 1])
        del args[at:at + 2]
    direct = '--direct' in args
    args = [a for a in args if a != '--direct']
    if len(args) != 1 or (rows is not None and not 1000 <= rows <= 1048575):
        sys.exit(__doc__)
    path = args[0]
    wide_counts = (8, 12)
    if rows is not None:
        DATA_ROWS = rows
        BIG_SET = DATA_ROWS // 10
        # A little more components a set keeps the ordinary sets clear of the big set's code.
        wide_counts = (9, 12)
    if not path.endswith('.xlsx'):
        book = XlwtBook()
    elif direct:
        book = DirectBook()
    else:
        book = OpenpyxlBook()
    rng = random.Random(20240601)
    names = [product_name(rng, i) for i in range(DATA_ROWS)]

    products = book.add_sheet('商品マスタ')
    headings = ['', 'セットコード', 'セット名', '区分', '担当', '備考', '部品コード', '部品名',
                '数量', 'メモ']
    for col, text in enumerate(headings):
        products.write(0, col, text)
    row = 1
    s = 0
    ordinary_rows = DATA_ROWS - BIG_SET_COMPONENTS
    while row <= DATA_ROWS:
        big = row > ordinary_rows
        if big:
            s = BIG_SET
        elif s >= BIG_SET:
            sys.exit('the ordinary sets ran into the big set\'s code')
        set_code = 'P%06d' % (10 * s)
        set_name = 'セット' + product_name(rng, s)
        count = BIG_SET_COMPONENTS if big else rng.randint(*wide_counts)
        for c in range(count):
            if row > (DATA_ROWS if big else ordinary_rows):
                break
            # Components are ordinary products, never set products.
            component = rng.randrange(DATA_ROWS // 10) * 10 + 1 + c % 9
            if row == 1:
                products.write(row, 0, '○')
            products.write(row, 1, set_code)
            products.write(row, 2, set_name)
            products.write(row, 3, rng.choice(['通常', '限定', '季節']))
            products.write(row, 4, rng.choice(['佐藤', '鈴木', '高橋', '田中']))
            if c % 3 == 0:
                products.write(row, 5, '組立品')
            products.write(row, 6, 'P%06d' % component)
            products.write(row, 7, names[component])
            products.write(row, 8, rng.randint(1, 20))
            if c % 4 == 0:
                products.write(row, 9, 'メモ')
            row += 1
        s += 1

    stocks = book.add_sheet('在庫マスタ')
    for col, text in enumerate(['', '商品コード', '商品名', '単位', 'セット', '在庫数',
                                '引当数', '備考']):
        stocks.write(0, col, text)
    for i in range(DATA_ROWS):
        r = i + 1
        if i == 0:
            stocks.write(r, 0, '○')
        stocks.write(r, 1, 'P%06d' % i)
        stocks.write(r, 2, names[i])
        stocks.write(r, 3, rng.choice(UNITS))
        stocks.write(r, 4, '1' if i % 10 == 0 else '0')
        stocks.write(r, 5, rng.randint(0, 99999))
        stocks.write(r, 6, 0)
        if i % 5 == 0:
            stocks.write(r, 7, '入荷待ち')
        if i % 2000 == 1999:
            stocks.flush_row_data()
    book.save(path)
    print('the set with %d components: P%06d' % (BIG_SET_COMPONENTS, 10 * BIG_SET))


if __name__ == '__main__':
    main()
