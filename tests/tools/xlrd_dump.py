#!/usr/bin/python3
"""Prints every cell of every worksheet of a workbook as xlrd reads it, one line a cell:

    sheet<TAB>row<TAB>col<TAB>kind<TAB>value

sheet is the worksheet's index in workbook order; kind is number, text, bool, error or empty
(a formatted blank cell). Numbers (dates included, as their serial) are printed with repr()
so that the double is exact; booleans as TRUE/FALSE; errors as their Excel text. In texts
a backslash, TAB, CR and LF are written as \\\\, \\t, \\r and \\n, so each cell stays on one
line. The first lines are "name<TAB>sheet<TAB>text" and "size<TAB>sheet<TAB>rows<TAB>columns"
for each worksheet, then "datemode<TAB>0|1". Exits 2 when xlrd cannot read the file.
"""
import sys

import xlrd

ERRORS = {0x00: '#NULL!', 0x07: '#DIV/0!', 0x0F: '#VALUE!', 0x17: '#REF!', 0x1D: '#NAME?',
          0x24: '#NUM!', 0x2A: '#N/A'}


def escape(text):
    return (text.replace('\\', '\\\\').replace('\t', '\\t').replace('\r', '\\r')
            .replace('\n', '\\n'))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    try:
        try:
            book = xlrd.open_workbook(sys.argv[1], formatting_info=True, on_demand=False)
        except NotImplementedError:
            book = xlrd.open_workbook(sys.argv[1])
    except Exception as error:  # any refusal, whatever xlrd raises
        print('xlrd: %s' % error, file=sys.stderr)
        sys.exit(2)
    sys.stdout.reconfigure(encoding='utf-8', errors='surrogatepass', newline='\n')
    out = sys.stdout
    sheets = book.sheets()
    for index, sheet in enumerate(sheets):
        out.write('name\t%d\t%s\n' % (index, escape(sheet.name)))
        out.write('size\t%d\t%d\t%d\n' % (index, sheet.nrows, sheet.ncols))
    out.write('datemode\t%d\n' % book.datemode)
    for index, sheet in enumerate(sheets):
        for row in range(sheet.nrows):
            for col, cell in enumerate(sheet.row(row)):
                kind = cell.ctype
                if kind == xlrd.XL_CELL_EMPTY:
                    continue
                if kind in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
                    line = 'number\t%r' % float(cell.value)
                elif kind == xlrd.XL_CELL_TEXT:
                    line = 'text\t%s' % escape(cell.value)
                elif kind == xlrd.XL_CELL_BOOLEAN:
                    line = 'bool\t%s' % ('TRUE' if cell.value else 'FALSE')
                elif kind == xlrd.XL_CELL_ERROR:
                    line = 'error\t%s' % ERRORS.get(cell.value, '#%d' % cell.value)
                else:
                    line = 'empty\t'
                out.write('%d\t%d\t%d\t%s\n' % (index, row, col, line))


if __name__ == '__main__':
    main()
