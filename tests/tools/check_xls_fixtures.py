#!/usr/bin/python3
"""Checks the committed .xls fixtures: their BIFF8 records, and what an import of them gives.

Usage: check_xls_fixtures.py REPO_ROOT [--rows]
Reads every workbook with xlrd (an independent reader), walks the records of the
Workbook stream itself, and applies the import rules (marker row, blank codes, texts
right-trimmed of U+0020 and U+3000, quantities through their text) to print the counts
and the import status that each fixture must lead to. Exits non-zero when a fixture
differs from what its README says.
"""
import math
import os
import re
import struct
import sys

import xlrd
from xlrd import compdoc

MARK = "○"
ERRORS = {0x00: "#NULL!", 0x07: "#DIV/0!", 0x0F: "#VALUE!", 0x17: "#REF!", 0x1D: "#NAME?",
          0x24: "#NUM!", 0x2A: "#N/A"}


# --------------------------------------------------------------------------- records

def workbook_stream(path):
    data = open(path, "rb").read()
    cd = compdoc.CompDoc(data, logfile=open(os.devnull, "w"))
    for name in ("Workbook", "Book"):
        try:
            return cd.get_named_stream(name)
        except Exception:
            pass
    raise RuntimeError("no Workbook stream")


def records(stream):
    pos = 0
    while pos + 4 <= len(stream):
        rtype, size = struct.unpack_from("<HH", stream, pos)
        yield pos, rtype, stream[pos + 4:pos + 4 + size]
        pos += 4 + size


def sst_pieces(stream):
    """The SST record's data and the data of the CONTINUE records that follow it."""
    pieces = None
    for _pos, rtype, data in records(stream):
        if rtype == 0x00FC:
            pieces = [data]
        elif pieces is not None and rtype == 0x003C:
            pieces.append(data)
        elif pieces is not None:
            return pieces
    return pieces or []


def sst_strings(pieces):
    """Decodes the shared strings; returns (strings, indexes of strings split across records)."""
    total, _unique = struct.unpack_from("<II", pieces[0], 0)
    strings, crossing = [], []
    piece, off = 0, 8

    def need(n):
        nonlocal piece, off
        if off + n > len(pieces[piece]) and off == len(pieces[piece]):
            piece, off = piece + 1, 0

    def take(n):
        # Raw bytes (formatting runs, phonetic data) may run over a record boundary.
        nonlocal piece, off
        out = b""
        while n:
            if off == len(pieces[piece]):
                piece, off = piece + 1, 0
            k = min(n, len(pieces[piece]) - off)
            out += pieces[piece][off:off + k]
            off += k
            n -= k
        return out

    for _ in range(_unique):
        need(3)
        start_piece = piece
        nchars = struct.unpack("<H", take(2))[0]
        flags = take(1)[0]
        runs = struct.unpack("<H", take(2))[0] if flags & 0x08 else 0
        ext = struct.unpack("<I", take(4))[0] if flags & 0x04 else 0
        text, wide = "", flags & 0x01
        while len(text) < nchars:
            if off == len(pieces[piece]):
                # A string that goes on in a CONTINUE record restates its width there.
                piece += 1
                wide, off = pieces[piece][0] & 0x01, 1
            width = 2 if wide else 1
            k = min(nchars - len(text), (len(pieces[piece]) - off) // width)
            if k == 0:
                raise RuntimeError("bad SST")
            text += pieces[piece][off:off + k * width].decode("utf-16-le" if wide else "latin-1")
            off += k * width
        take(4 * runs)
        take(ext)
        if piece != start_piece:
            crossing.append((len(strings), start_piece, piece))
        strings.append(text)
    return total, strings, crossing


def record_summary(path):
    stream = workbook_stream(path)
    summary = {"sheets": [], "names": [], "filepass": None, "chart_substreams": 0,
               "continue_after_sst": 0, "obj_chart": 0, "array": 0}
    for _pos, rtype, data in records(stream):
        if summary["filepass"] is not None:
            # Past FILEPASS only the record headers are readable.
            summary.setdefault("encrypted_types", set()).add(rtype)
            continue
        if rtype == 0x0085:  # BOUNDSHEET
            vis, kind = data[4], data[5]
            n, f = data[6], data[7]
            name = data[8:8 + 2 * n].decode("utf-16-le") if f & 1 else data[8:8 + n].decode(
                "latin-1")
            summary["sheets"].append((name, {0: "worksheet", 1: "macro sheet", 2: "chart",
                                             6: "VBA module"}.get(kind, kind),
                                      {0: "visible", 1: "hidden", 2: "very hidden"}[vis]))
        elif rtype == 0x002F:
            summary["filepass"] = data.hex()
        elif rtype == 0x0809 and len(data) >= 4:
            if struct.unpack_from("<H", data, 2)[0] == 0x0020:
                summary["chart_substreams"] += 1
        elif rtype == 0x0221:
            summary["array"] += 1
        elif rtype == 0x0018:  # NAME
            flags, _key, nlen = struct.unpack_from("<HBB", data, 0)
            raw = data[14:]
            if flags & 0x20:
                name = {0x0D: "_FilterDatabase", 0x06: "Print_Area"}.get(raw[1], f"builtin{raw[1]}")
            else:
                name = (raw[1:1 + 2 * nlen].decode("utf-16-le") if raw[0] & 1
                        else raw[1:1 + nlen].decode("latin-1"))
            summary["names"].append(name)
    if summary["filepass"] is None:
        pieces = sst_pieces(stream)
        summary["continue_after_sst"] = len(pieces) - 1
        summary["sst_record_sizes"] = [len(p) for p in pieces]
        if pieces:
            total, strings, crossing = sst_strings(pieces)
            summary["sst_total"], summary["sst_unique"] = total, len(strings)
            summary["sst_bytes"] = sum(len(p) for p in pieces)
            summary["sst_crossing"] = [(i, len(strings[i]), a, b) for i, a, b in crossing]
            summary["sst_strings"] = strings
    return summary


# --------------------------------------------------------------------------- import rules

def number_text(x):
    if x == 0:
        return "0"
    if x == int(x) and abs(x) < 1e15:
        return str(int(x))
    s = f"{x:.15g}" if 1e-5 <= abs(x) < 1e15 else None
    if s is None or "e" in s:
        mant, exp = f"{x:.14e}".split("e")
        mant = mant.rstrip("0").rstrip(".")
        return f"{mant}E{int(exp):+03d}"
    return s.rstrip("0").rstrip(".") if "." in s else s


def cell_text(c):
    if c.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        return ""
    if c.ctype == xlrd.XL_CELL_TEXT:
        return c.value
    if c.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
        return number_text(c.value)
    if c.ctype == xlrd.XL_CELL_BOOLEAN:
        return "TRUE" if c.value else "FALSE"
    if c.ctype == xlrd.XL_CELL_ERROR:
        return ERRORS[c.value]
    raise ValueError(c)


TRIM = " \u3000"
NUMBER = re.compile(r"[+-]?(\d+(,\d+)*(\.\d*)?|\.\d+)([eE][+-]?\d+)?")
FULLWIDTH = str.maketrans("０１２３４５６７８９＋－，．ｅＥ", "0123456789+-,.eE")


def quantity(c):
    """(value, status): status 0 fine, 1 over 9,999,999, 2 not numeric; raises on overflow."""
    if c.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        return 0, 2
    text = cell_text(c).strip(TRIM).translate(FULLWIDTH)
    if not NUMBER.fullmatch(text):
        return 0, 2
    x = float(text.replace(",", ""))
    r = round(x)  # Python rounds halves to even
    if not -2**31 <= r < 2**31:
        raise OverflowError(text)
    return r, 1 if r > 9999999 else 0


def run_import(path):
    book = xlrd.open_workbook(path)
    tables = {"商品マスタ": [], "在庫マスタ": []}
    status = 0
    for sh in book.sheets():
        if sh.name not in tables:
            continue
        width, qcol = (10, 8) if sh.name == "商品マスタ" else (8, 5)
        if sh.ncols < width:
            raise RuntimeError(f"{sh.name}: used part ends before column {width}")
        started = False
        for r in range(sh.nrows):
            row = sh.row(r)[:width]
            if cell_text(row[1]).rstrip(TRIM) == "":
                continue
            if not started:
                if row[0].ctype == xlrd.XL_CELL_EMPTY or cell_text(row[0]).rstrip(TRIM) != MARK:
                    continue
                started = True
            q, st = quantity(row[qcol])
            if st:
                status = st
            fields = [cell_text(c).rstrip(TRIM) for c in row[1:]]
            fields[qcol - 1] = q
            if sh.name == "在庫マスタ":
                fields[5] = 0  # column G is read and ignored
            tables[sh.name].append((r + 1, fields))
    if status == 0:
        if not tables["商品マスタ"] and not tables["在庫マスタ"]:
            status = 3
        elif not tables["商品マスタ"] or not tables["在庫マスタ"]:
            status = 3
    return tables["商品マスタ"], tables["在庫マスタ"], status


# --------------------------------------------------------------------------- expectations

def fail(msg):
    print("FAIL:", msg)
    global failures
    failures += 1


failures = 0


def expect(cond, msg):
    if not cond:
        fail(msg)


def report(path, show_rows):
    print(f"== {path} ({os.path.getsize(path)} bytes)")
    s = record_summary(path)
    print("  sheets:", s["sheets"])
    if s["names"]:
        print("  names:", s["names"])
    if s["chart_substreams"]:
        print("  chart substreams:", s["chart_substreams"])
    if s["array"]:
        print("  ARRAY records:", s["array"])
    if s["filepass"]:
        print("  FILEPASS:", s["filepass"][:24], "...")
        return s, None
    if "sst_unique" in s:
        print(f"  SST: {s['sst_unique']} unique strings of {s['sst_total']} uses, "
              f"{s['sst_bytes']} bytes in {len(s['sst_record_sizes'])} records "
              f"{s['sst_record_sizes']}; split across a record boundary: "
              f"{[f'string {i} ({n} chars, records {a}-{b})' for i, n, a, b in s['sst_crossing']]}")
    products, stock, status = run_import(path)
    print(f"  import: 商品マスタ {len(products)}, 在庫マスタ {len(stock)}, "
          f"total {len(products) + len(stock)}, ImportStatus {status}")
    if show_rows:
        for name, rows in (("商品マスタ", products), ("在庫マスタ", stock)):
            for r, f in rows[:40]:
                print(f"   {name} row {r}:", [x if not isinstance(x, str) or len(x) < 40
                                              else f"{x[:12]}...({len(x)} chars)" for x in f])
    return s, (products, stock, status)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    show = "--rows" in sys.argv
    xls = os.path.join(root, "tests", "data", "xls")

    s, (p, st, status) = report(os.path.join(xls, "formulas.xls"), show)
    expect((len(p), len(st), status) == (9, 409, 0), "formulas.xls import")
    expect(s["continue_after_sst"] >= 2 and s["sst_bytes"] > 8224, "formulas.xls SST size")
    expect(len(s["sst_crossing"]) >= 2, "formulas.xls strings across CONTINUE")
    book = xlrd.open_workbook(os.path.join(xls, "formulas.xls"))
    pm = book.sheet_by_name("商品マスタ")
    expect(pm.cell(5, 5).ctype == xlrd.XL_CELL_ERROR and pm.cell(5, 5).value == 0x07, "=1/0")
    expect(pm.cell(6, 1).value == "" and pm.cell(6, 1).ctype == xlrd.XL_CELL_TEXT, '=""')
    expect(pm.cell(5, 4).ctype == xlrd.XL_CELL_BOOLEAN and pm.cell(5, 4).value == 1, "=1<2")
    expect(pm.cell(3, 4).ctype == xlrd.XL_CELL_BOOLEAN, "TRUE cell")
    expect(pm.cell(3, 5).ctype == xlrd.XL_CELL_DATE and pm.cell(3, 5).value == 45474, "date")
    expect([r for r, _ in p] == [4, 5, 6, 10, 11, 12, 13, 14, 15], "formulas.xls product rows")
    expect([f[7] for _, f in p] == [6, 10, 12, 14, 40, -3, 2, 1234, 9999999], "quantities")

    s, (p, st, status) = report(os.path.join(xls, "fullsheet.xls"), show)
    expect((len(p), len(st), status) == (3, 65536, 0), "fullsheet.xls import")
    expect(st[-1][1][0] == "165536" and st[0][1][0] == "100001", "fullsheet codes")
    expect(sum(f[4] for _, f in st) == sum(r % 1000 for r in range(1, 65537)), "fullsheet qty")
    sh = xlrd.open_workbook(os.path.join(xls, "fullsheet.xls")).sheet_by_name("在庫マスタ")
    expect(sh.nrows == 65536, "fullsheet nrows")
    expect(all(sh.cell(r, 1).ctype == xlrd.XL_CELL_NUMBER for r in range(65536)), "every row")
    print("  stock quantity sum:", sum(f[4] for _, f in st))

    s, (p, st, status) = report(os.path.join(xls, "extras.xls"), show)
    expect((len(p), len(st), status) == (3, 4, 0), "extras.xls import")
    expect(s["chart_substreams"] >= 1, "extras.xls chart")
    expect(s["names"] == ["_FilterDatabase", "TaxRate", "在庫一覧", "部品在庫"], "extras.xls names")

    s, (p, st, status) = report(os.path.join(xls, "masters.xls"), show)
    expect((len(p), len(st), status) == (2, 3, 0), "masters.xls import")

    s, _ = report(os.path.join(xls, "encrypted.xls"), show)
    expect(s["filepass"] is not None, "encrypted.xls FILEPASS")
    try:
        xlrd.open_workbook(os.path.join(xls, "encrypted.xls"))
        fail("xlrd opened encrypted.xls")
    except xlrd.XLRDError as e:
        print("  xlrd:", e)

    nw = os.path.join(xls, "not-a-workbook")
    for name in sorted(os.listdir(nw)):
        path = os.path.join(nw, name)
        head = open(path, "rb").read(8)
        print(f"== {path} ({os.path.getsize(path)} bytes), starts {head!r}")
        expect(not head.startswith(bytes.fromhex("d0cf11e0a1b11ae1")), f"{name} is a compound file")
        if name == "book.xlsx.xls":
            expect(head.startswith(b"PK\x03\x04"), "book.xlsx.xls is a zip package")
    expect(os.path.getsize(os.path.join(nw, "empty.xls")) == 0, "empty.xls")

    s, (p, st, status) = report(os.path.join(root, "examples", "sample.xls"), show)
    expect(status == 0, "sample.xls import")
    sample_report(p, st)
    print("FAILURES:", failures)
    return 1 if failures else 0


def sample_report(products, stock):
    """Per set: components, sets possible, and what an order of 10 sets does."""
    stock_by_code = {}
    for _r, f in stock:
        stock_by_code.setdefault(f[0], f)
    sets = [f for _r, f in stock if f[3] == "1"]
    print(f"  set products (E = 1): {len(sets)}; components listed: "
          f"{len(stock) - len(sets)}")
    for sf in sets:
        code, set_stock = sf[0], sf[4]
        comps = [f for _r, f in products if f[0] == code]
        listed = [(f[5], f[7], stock_by_code.get(f[5])) for f in comps]
        missing = [c for c, _q, s in listed if s is None]
        addable = min((math.trunc(s[4] / q) for _c, q, s in listed if s), default=None)
        order = 10
        build = order - set_stock
        short = [(c, s[4] - q * build) for c, q, s in listed
                 if s and build > 0 and s[4] - q * build < 0]
        print(f"   {code} {sf[1]}: stock {set_stock}, {len(comps)} components, "
              f"addable {0 if missing else addable}"
              + (f", missing {missing}" if missing else "")
              + (f", order 10 -> build {build}, short {short}" if short else ""))


if __name__ == "__main__":
    sys.exit(main())
