#!/usr/bin/python3
"""Writes tests/data/xlsx/inline-openpyxl.xlsx: both master sheets written by openpyxl in
write-only mode, which stores every text as an inline string (Japanese text as character
references) and no shared string table.

Usage: make_inline_xlsx.py OUTPUT.xlsx
"""
import sys

import openpyxl

PRODUCTS = [
    ['セット商品構成表'],
    [],
    ['開始', 'セットコード', 'セット名', '区分', '担当', '備考', '部品コード', '部品名', '数量',
     'メモ'],
    ['○', 'S001', 'お中元セット', '夏', None, None, 'P001', '緑茶', 2, 'note'],
    [None, 'S001', 'お中元セット', '夏', None, None, 'P002', 'ほうじ茶　', '3', None],
    [None, None, 'コードの無い行', None, None, None, 'P003', None, 1, None],
    [None, 'S002 ', 'Gift & <Set>', None, None, None, 'P003', '"quoted"', 12.5, 'x_y'],
    [None, 100001, '数値のコード', None, None, None, 'P001', None, ' 4 ', None],
    [None, 'S003', '改行\nあり', None, None, None, 'P002', None, 9999999, '最後'],
]
STOCKS = [
    [None, '在庫一覧'],
    ['○', 'S001', 'お中元セット', 'セット', '1', 10, 0, None],
    [None, 'S002 ', 'Gift & <Set>', 'set', '1', 0, 0, '備考'],
    [None, 'S003', '改行\nあり', '箱', '1', -5, 0, None],
    [None, 100001, '数値のコード', '箱', '1', 7, 0, None],
    [None, 'P001', '緑茶', '袋', '0', 120, 0, None],
    [None, 'P002', 'ほうじ茶　', '袋', '0', 3.5, 0, None],
    [None, 'P003', '"quoted"', '個', '0', '1,234', 0, 'カンマ付きの文字'],
]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    book = openpyxl.Workbook(write_only=True)
    for name, rows in (('商品マスタ', PRODUCTS), ('在庫マスタ', STOCKS)):
        sheet = book.create_sheet(name)
        for row in rows:
            sheet.append(row)
    book.save(sys.argv[1])


if __name__ == '__main__':
    main()
