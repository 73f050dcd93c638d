#!/usr/bin/python3
"""Writes the flat-ODS sources of the committed .xls fixtures and of the sample workbook.

Usage: make_fods.py REPO_ROOT
The .xls files are made from these sources by LibreOffice (make_xls_fixtures.sh); the
generator only exists so that the sources stay small and can be regenerated.
"""
import datetime
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fods import Formula as F, Matrix, Merge, Repeat, Sheet, Styled, write  # noqa: E402

MARK = "○"
D = datetime.date
FW = "\u3000"  # ideographic (full-width) space

PRODUCT_HEAD = ["開始", "セットコード", "セット名", "区分", "フラグ", "日付", "構成商品コード",
                "構成商品名", "構成数量", "備考"]
STOCK_HEAD = ["開始", "商品コード", "商品名", "単位", "セット区分", "在庫数", "引当数", "備考"]


def head(cells):
    return [Styled(c, "head") for c in cells]


# ---------------------------------------------------------------------------
# formulas: every kind of cell value, formulas with cached results, a long SST

TEA_PLACES = ["静岡", "宇治", "八女", "狭山", "知覧", "嬉野", "鹿児島", "奈良", "三重", "京都"]
TEA_KINDS = ["煎茶", "玉露", "番茶", "抹茶", "ほうじ茶", "玄米茶", "和紅茶", "麦茶", "昆布茶",
             "柚子茶"]
TEA_SIZES = ["50g", "100g", "200g", "ティーバッグ10袋"]
UNITS = ["袋", "箱", "個", "本"]
GENERATED = 400  # generated stock rows P1001 ... P1400


def generated_name(k):
    """Name of generated stock row k (1-based): 400 distinct Japanese names."""
    i = k - 1
    return f"{TEA_PLACES[i % 10]}{TEA_KINDS[i // 10 % 10]} {TEA_SIZES[i // 100]}"


def long_text(n, seed):
    """A Japanese text of exactly n characters, numbered so that a misplaced piece shows."""
    base = "いろはにほへとちりぬるをわかよたれそつねならむ"
    out = f"長文{seed}:"
    i = 0
    while len(out) < n:
        out += f"{base}{i:04d}。"
        i += 1
    return out[:n - 1] + "終"


def long_ascii(n):
    out, i = "", 0
    while len(out) < n:
        out += f"Long ASCII remark, part {i:04d}. "
        i += 1
    return out[:n - 1] + "$"


LONG_REMARKS = {390: long_text(300, "A"), 395: long_text(1200, "B"), 398: long_text(5000, "C"),
                400: long_ascii(9000)}


def generated_remark(k):
    if k in LONG_REMARKS:
        return LONG_REMARKS[k]
    if k % 25 == 0:
        return f"ロット{k:04d} 賞味期限まで{k % 7 + 3}か月"
    return None


def formulas():
    products = [
        [Merge("セット商品構成マスタ（数式・値の種類の試験用）", 10, style="title")],
        [Merge("作成日", 2), None, D(2024, 4, 1), None, None, None, "P0000", None, 99, "見出し"],
        head(PRODUCT_HEAD),
        # data from here
        [MARK, "S001", "お中元セット", "夏", True, D(2024, 7, 1), "P0001", "緑茶", F("=2*3"), "通常"],
        [None, F('="S"&"001"'), "お中元セット", 12.5, False, -7, F('=CONCATENATE("P";"0002")'),
         "ほうじ茶" + FW, F("=SUM([.I4];4)"), 3000000000],
        [None, "S002 ", "Gift Set B  ", 0.1, F("=1<2"), F("=1/0"), "P0003", "Coffee ", 12.5,
         D(2024, 12, 25)],
        [None, F('=""'), "コードが空文字の数式", None, None, None, "P0001", None, 1, None],
        [None, "   ", "コードが空白だけ", None, None, None, "P0001", None, 1, None],
        [],
        [MARK, "S003", "歳暮セット", "冬", None, None, "P0004", "海苔", 13.5, None],
        [None, "S003", "歳暮セット", "冬", None, None, "P0001", "緑茶", "  40 ",
         F('=UPPER("abc")')],
        [None, "S003", "歳暮セット", "冬", None, None, "P0005", "Cookie", -3, "負の数量"],
        [None, F('="S"&TEXT(4;"000")'), "全角空白の名前" + FW + FW, None, None, None, "P0002",
         None, F("=1.5+1"), "end "],
        [None, "S004", "全角空白の名前", None, None, None, "P0003", None, "1,234", "文字の数量"],
        [None, "S004", "全角空白の名前", None, None, None, "P9999", "在庫マスタに無い", 9999999,
         F("=2^31")],
    ]
    stock = [
        [Merge("在庫マスタ（数式・値の種類の試験用）", 8, style="title")],
        [Merge("出力日", 2), None, D(2024, 4, 1), Merge("商品情報", 2), None,
         Merge("数量", 2), None, "S999"],
        head(STOCK_HEAD),
        [MARK, "S001", "お中元セット", "セット", 1, F("=120+30"), F("=1/0"), "セット品"],
        [None, "S002", "Gift Set B", "set", "1", F("=[.F4]*2"), True, "ASCII name  "],
        [None, "S003", "歳暮セット", "箱", F("=1"), 0, None, long_text(320, "H")],
        [None, "S004", "全角空白の名前", "箱", "1 ", -5, F('=""'), None],
        [None, F('=CONCATENATE("P";"0001")'), "緑茶", "袋", 0, F("=SUM(10;20;30)"), None,
         D(2024, 6, 30)],
        [None, "P0002", "ほうじ茶" + FW, "袋" + FW, None, 12.5, 3000000000, None],
        [None, "P0003 ", "Coffee", "缶", " 1", 9999999, False, F("=1<0")],
        [None, None, "コードの無いメモ行", None, None, "abc", None, None],
        [None, "P0004", "海苔", "枚", None, 0.1, None, F("=1/0")],
        [None, "P0005", "Cookie", "個", None, D(2024, 4, 1), None, F("=NA()")],
    ]
    for k in range(1, GENERATED + 1):
        stock.append([None, f"P{1000 + k}", generated_name(k), UNITS[k % 4], None,
                      (k * 37) % 1000, None, generated_remark(k)])
    notes = [
        ["この表は取り込まれません", None, None],
        [MARK, "X001", "他のシートの○行"],
        [None, 3.25, F("=[.B2]*2")],
    ]
    return [Sheet("商品マスタ", products, ["1.2cm", "2cm", "4cm"] + ["2.2cm"] * 7),
            Sheet("在庫マスタ", stock, ["1.2cm", "2cm", "5cm"] + ["2cm"] * 5),
            Sheet("メモ", notes)]


# ---------------------------------------------------------------------------
# fullsheet: 在庫マスタ uses every one of the 65,536 rows of a BIFF8 sheet

ROWS = 65536


def fullsheet():
    products = [
        head(PRODUCT_HEAD),
        [MARK, "S1", "全行セット", None, None, None, "100001", "先頭の行", 2, "first"],
        [None, "S1", "全行セット", None, None, None, "165536", "最後の行", 3, "last"],
        [None, "S2", "数値コードのセット", None, None, None, 132768, "32768行目", 1, None],
    ]
    # Column B and F are array formulas over the whole column, because LibreOffice cannot load
    # a repeated row that holds a formula; C, D and H are repeated constants.
    stock = [
        [MARK, Matrix("=ROW([.B1:.B65536])+100000", ROWS), "部品", "個", None,
         Matrix("=MOD(ROW([.F1:.F65536]);1000)", ROWS), None, "先頭行"],
        Repeat([None, None, "部品", "個"], ROWS - 2),
        [None, None, "部品", "個", None, None, None, "最終行"],
    ]
    return [Sheet("商品マスタ", products), Sheet("在庫マスタ", stock)]


# ---------------------------------------------------------------------------
# extras: masters plus an extra sheet with a chart, a hidden sheet and names

CHART = """<draw:frame draw:z-index="0" svg:width="12cm" svg:height="7cm" svg:x="6cm" svg:y="0.5cm">\
<draw:object draw:notify-on-update-of-ranges="集計.A2:集計.B6"><office:document office:version="1.2" \
office:mimetype="application/vnd.oasis.opendocument.chart"><office:body><office:chart>\
<chart:chart svg:width="12cm" svg:height="7cm" chart:class="chart:bar">\
<chart:title><text:p>セット別在庫数</text:p></chart:title>\
<chart:plot-area table:cell-range-address="集計.A2:集計.B6" chart:data-source-has-labels="column">\
<chart:axis chart:dimension="x" chart:name="primary-x">\
<chart:categories table:cell-range-address="集計.A2:集計.A6"/></chart:axis>\
<chart:axis chart:dimension="y" chart:name="primary-y"><chart:grid chart:class="major"/></chart:axis>\
<chart:series chart:values-cell-range-address="集計.B2:集計.B6" chart:label-cell-address="集計.B1" \
chart:class="chart:bar"/></chart:plot-area></chart:chart></office:chart></office:body>\
</office:document></draw:object></draw:frame>"""


LOCAL_NAME = ('<table:named-range table:name="部品在庫" table:base-cell-address="$在庫マスタ.$B$5"'
              ' table:cell-range-address="$在庫マスタ.$B$5:.$F$6"/>')


def extras():
    summary = [
        ["セット", "在庫数", "出荷可能"],
        ["S01", 12, 3],
        ["S02", 5, 0],
        ["S03", 40, 8],
        ["S04", 0, 2],
        ["S05", 7, F("=SUM([.C2:.C5])")],
        [],
        [MARK, "S99", "集計シートの○行（取り込まれない）"],
    ]
    products = [
        [Merge("商品マスタ", 10, style="title")],
        head(PRODUCT_HEAD),
        [MARK, "S01", "ギフトA", None, None, None, "P01", "緑茶", 2, None],
        [None, "S01", "ギフトA", None, None, None, "P02", "せんべい", 1, None],
        [None, "S02", "ギフトB", None, None, None, "P02", "せんべい", 3, "備考"],
    ]
    stock = [
        [Merge("在庫マスタ", 8, style="title")],
        head(STOCK_HEAD),
        [MARK, "S01", "ギフトA", "セット", "1", 12, None, ""],
        [None, "S02", "ギフトB", "セット", "1", 5, None, None],
        [None, "P01", "緑茶", "袋", None, 30, None, None],
        [None, "P02", "せんべい", "袋", None, F("=4*5"), None, "名前付き範囲の中"],
    ]
    hidden = [[MARK, "H01", "非表示シート", None, None, 1]]
    named = ('<table:named-range table:name="在庫一覧" table:base-cell-address="$在庫マスタ.$A$3"'
             ' table:cell-range-address="$在庫マスタ.$A$3:.$H$6"/>'
             '<table:named-expression table:name="TaxRate" table:base-cell-address="$集計.$A$1"'
             ' table:expression="of:=0.1"/>')
    dbranges = ('<table:database-range table:name="__Anonymous_Sheet_DB__1" table:display-filter-buttons="true"'
                ' table:target-range-address="商品マスタ.A2:商品マスタ.J5"/>')
    sheets = [Sheet("集計", summary, shapes=CHART), Sheet("商品マスタ", products),
              Sheet("在庫マスタ", stock, named=LOCAL_NAME), Sheet("非表示", hidden, hidden=True)]
    return sheets, named, dbranges


# ---------------------------------------------------------------------------
# masters: a small valid workbook, the source of encrypted.xls and book.xlsx.xls

def masters():
    products = [
        [Merge("商品マスタ", 10, style="title")],
        head(PRODUCT_HEAD),
        [MARK, "S01", "ギフトA", None, None, None, "P01", "緑茶", 2, None],
        [None, "S01", "ギフトA", None, None, None, "P02", "せんべい", 1, None],
    ]
    stock = [
        [Merge("在庫マスタ", 8, style="title")],
        head(STOCK_HEAD),
        [MARK, "S01", "ギフトA", "セット", "1", 4, None, None],
        [None, "P01", "緑茶", "袋", None, 30, None, None],
        [None, "P02", "せんべい", "袋", None, 9, None, "在庫少"],
    ]
    return [Sheet("商品マスタ", products), Sheet("在庫マスタ", stock)]


if __name__ == "__main__":
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    xls = os.path.join(root, "tests", "data", "xls")
    os.makedirs(xls, exist_ok=True)
    write(os.path.join(xls, "formulas.fods"), formulas())
    write(os.path.join(xls, "fullsheet.fods"), fullsheet())
    sheets, named, dbranges = extras()
    write(os.path.join(xls, "extras.fods"), sheets, named, dbranges)
    write(os.path.join(xls, "masters.fods"), masters())
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import sample  # noqa: E402
    os.makedirs(os.path.join(root, "examples"), exist_ok=True)
    write(os.path.join(root, "examples", "sample.fods"), sample.sheets())
