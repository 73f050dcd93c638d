#!/usr/bin/python3
"""Prints every cell of every worksheet of a .xlsx workbook as openpyxl reads it with
data_only=True (formulas by their cached value), in the format of xlrd_dump.py:

    name<TAB>sheet<TAB>text           for each worksheet, in workbook order
    size<TAB>sheet<TAB>rows<TAB>columns
    datemode<TAB>0|1
    sheet<TAB>row<TAB>col<TAB>kind<TAB>value

kind is number, text, bool, error or empty (a cell without a value). Dates and times are
printed as the serial number they came from. Chart sheets are not worksheets and are left out;
the cells openpyxl adds for merged ranges are not the file's and are left out too.

openpyxl leaves the _xHHHH_ escapes of inline strings undecoded and removes only "x005F_"
from shared strings; here every string item is decoded with openpyxl's own unescape, left to
right, so that _x005F_ stands for the underscore. Exits 2 when openpyxl cannot read the file.
"""
import datetime
import sys

import openpyxl
import openpyxl.reader.excel
from openpyxl.cell.cell import MergedCell
from openpyxl.cell.text import Text
from openpyxl.utils.datetime import to_excel
from openpyxl.utils.escape import unescape
from openpyxl.xml.constants import SHEET_MAIN_NS
from openpyxl.xml.functions import iterparse


def plain_content(self):
    snippets = []
    if self.plain is not None:
        snippets.append(self.plain)
    for block in self.formatted:
        if block.t is not None:
            snippets.append(block.t)
    return unescape(''.join(snippets))


def read_string_table(xml_source):
    strings = []
    tag = '{%s}si' % SHEET_MAIN_NS
    for _, node in iterparse(xml_source):
        if node.tag == tag:
            strings.append(Text.from_tree(node).content)
            node.clear()
    return strings


Text.content = property(plain_content)
openpyxl.reader.excel.read_string_table = read_string_table


def escape(text):
    return (text.replace('\\', '\\\\').replace('\t', '\\t').replace('\r', '\\r')
            .replace('\n', '\\n'))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    try:
        book = openpyxl.load_workbook(sys.argv[1], data_only=True)
    except Exception as error:  # any refusal, whatever openpyxl raises
        print('openpyxl: %s' % error, file=sys.stderr)
        sys.exit(2)
    sys.stdout.reconfigure(encoding='utf-8', errors='surrogatepass', newline='\n')
    out = sys.stdout
    sheets = book.worksheets
    lines = []
    for index, sheet in enumerate(sheets):
        rows = columns = 0
        for (row, col), cell in sorted(sheet._cells.items()):
            if isinstance(cell, MergedCell):
                continue
            rows, columns = max(rows, row), max(columns, col)
            value = cell.value
            if value is None:
                line = 'empty\t'
            elif cell.data_type == 'b' or isinstance(value, bool):
                line = 'bool\t%s' % ('TRUE' if value else 'FALSE')
            elif cell.data_type == 'e':
                line = 'error\t%s' % value
            elif isinstance(value, (datetime.datetime, datetime.date, datetime.time,
                                    datetime.timedelta)):
                line = 'number\t%r' % float(to_excel(value, book.epoch))
            elif isinstance(value, (int, float)):
                line = 'number\t%r' % float(value)
            else:
                line = 'text\t%s' % escape(value)
            lines.append('%d\t%d\t%d\t%s\n' % (index, row - 1, col - 1, line))
        out.write('name\t%d\t%s\n' % (index, escape(sheet.title)))
        out.write('size\t%d\t%d\t%d\n' % (index, rows, columns))
    out.write('datemode\t%d\n' % (1 if book.epoch == datetime.datetime(1904, 1, 1) else 0))
    out.writelines(lines)


if __name__ == '__main__':
    main()
