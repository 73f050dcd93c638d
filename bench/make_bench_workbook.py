#!/usr/bin/python3
"""Writes the import benchmark's workbook: both master sheets full (a heading row and
65,535 data rows each), with content like a real one: about 6,500 set products of about ten
components each in 商品マスタ, 65,535 products with Japanese names in 在庫マスタ. About 15 MB.
The set products are the stock rows flagged "1" (every tenth, P000000, P000010, ...); the last
one in 商品マスタ, P065530, has exactly 100 components, for the listing benchmarks.

Usage: make_bench_workbook.py OUTPUT.xls
"""
import random
import sys

import xlwt

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


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    rng = random.Random(20240601)
    names = [product_name(rng, i) for i in range(DATA_ROWS)]
    book = xlwt.Workbook(encoding='utf-8')

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
        count = BIG_SET_COMPONENTS if big else rng.randint(8, 12)
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
    book.save(sys.argv[1])


if __name__ == '__main__':
    main()
