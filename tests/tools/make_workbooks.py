#!/usr/bin/python3
"""Writes the workbooks that the reader and import tests read, into the folder given.

Every workbook is built with xlwt and then, where xlwt cannot express a case, its BIFF
stream is rewritten record by record: a shared string table whose strings change between
8-bit and 16-bit characters across CONTINUE records and carry phonetic blocks, RK records
holding a float, formula records holding a cached result (xlwt always writes "empty").
A few workbooks are stored in compound files laid out unlike xlwt's (small sectors of the
mini stream, 4096-byte sectors, scattered chains, a FAT continued through a DIFAT sector).

Usage: make_workbooks.py OUTPUT_FOLDER [--small]
  --small   only the workbooks under 64 KB (seeds for the fuzzer)
"""
import datetime
import math
import os
import random
import struct
import sys
import zipfile

import xlwt
from xlwt import CompoundDoc

BOF, EOF, BOUNDSHEET = 0x0809, 0x000A, 0x0085
SST, CONTINUE, LABELSST = 0x00FC, 0x003C, 0x00FD
NUMBER, RK, FORMULA, STRING = 0x0203, 0x027E, 0x0006, 0x0207
MAX_RECORD = 8224

# ---------------------------------------------------------------------------------------------
# BIFF records


def split_records(stream):
    records = []
    pos = 0
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from('<HH', stream, pos)
        records.append([rid, bytes(stream[pos + 4:pos + 4 + size])])
        pos += 4 + size
    return records


def join_records(records):
    return b''.join(struct.pack('<HH', rid, len(data)) + data for rid, data in records)


def fix_boundsheet_offsets(records):
    """Points every BOUNDSHEET at its sheet's BOF again after records changed length."""
    offsets = []
    pos = 0
    globals_done = False
    for rid, data in records:
        if rid == BOF and globals_done:
            offsets.append(pos)
        if rid == EOF:
            globals_done = True
        pos += 4 + len(data)
    sheets = [r for r in records if r[0] == BOUNDSHEET]
    assert len(sheets) == len(offsets), (len(sheets), len(offsets))
    for record, offset in zip(sheets, offsets):
        record[1] = struct.pack('<I', offset) + record[1][4:]


def stream_of(book):
    return split_records(book.get_biff_data())


def sheet_ranges(records):
    """(first, last) record index of each worksheet substream, in workbook order."""
    ranges = []
    start = None
    globals_done = False
    for i, (rid, _) in enumerate(records):
        if rid == BOF and globals_done:
            start = i
        elif rid == EOF:
            if globals_done and start is not None:
                ranges.append((start, i))
                start = None
            globals_done = True
    return ranges


# ---------------------------------------------------------------------------------------------
# Shared string table


class SstString:
    def __init__(self, text, runs=(), phonetic=b''):
        self.text = text
        self.runs = list(runs)        # (character index, font index)
        self.phonetic = phonetic


def phonetic_block(text):
    """A phonetic settings block as Japanese editions attach to strings: its content is
    never interpreted by a reader, only its size matters."""
    units = len(text.encode('utf-16-le')) // 2
    reading = ''.join(chr(0x30A2 + (ord(c) % 80)) for c in text[:400])
    body = struct.pack('<HHHH', 0x0003, 0, 0, len(reading)) + reading.encode('utf-16-le')
    return struct.pack('<HH', 1, len(body)) + body


def encode_sst(total, strings):
    """SST plus CONTINUE records. Character data splits at record ends; each piece is stored
    8-bit when all its characters allow, so the compression flag of a continued string may
    change from one record to the next, as Excel writes it."""
    records = []
    cur = bytearray(struct.pack('<II', total, len(strings)))

    def flush():
        nonlocal cur
        records.append(cur)
        cur = bytearray()

    for s in strings:
        units = s.text.encode('utf-16-le')
        chars = [units[i:i + 2] for i in range(0, len(units), 2)]
        flags = (0x08 if s.runs else 0) | (0x04 if s.phonetic else 0)
        header_size = 3 + (2 if s.runs else 0) + (4 if s.phonetic else 0)
        if MAX_RECORD - len(cur) < header_size + 2:
            flush()
        i = 0
        first = True
        while True:
            room = MAX_RECORD - len(cur) - (header_size if first else 1)
            window = chars[i:i + room]
            compressed = all(c[1] == 0 for c in window)
            count = min(len(chars) - i, room if compressed else room // 2)
            piece = b''.join(c[0:1] if compressed else c for c in chars[i:i + count])
            piece_flags = flags | (0 if compressed else 1)
            if first:
                cur += struct.pack('<HB', len(chars), piece_flags)
                if s.runs:
                    cur += struct.pack('<H', len(s.runs))
                if s.phonetic:
                    cur += struct.pack('<I', len(s.phonetic))
                first = False
            else:
                cur += struct.pack('<B', 0 if compressed else 1)
            cur += piece
            i += count
            if i >= len(chars):
                break
            flush()
        for pos, font in s.runs:
            if MAX_RECORD - len(cur) < 4:
                flush()
            cur += struct.pack('<HH', pos, font)
        blob = s.phonetic
        while blob:
            if len(cur) == MAX_RECORD:
                flush()
            take = MAX_RECORD - len(cur)
            cur += blob[:take]
            blob = blob[take:]
    flush()
    return [[SST, bytes(records[0])]] + [[CONTINUE, bytes(r)] for r in records[1:]]


def replace_sst(records, book, decorate=None):
    """Re-encodes xlwt's string table with the same indices; decorate(index, text) may
    return an SstString with runs or a phonetic block."""
    table = book._Workbook__sst
    texts = sorted((i, s) for s, i in table._str_indexes.items())
    strings = []
    for i, text in texts:
        strings.append(decorate(i, text) if decorate else SstString(text))
    first = next(i for i, r in enumerate(records) if r[0] == SST)
    last = first + 1
    while last < len(records) and records[last][0] == CONTINUE:
        last += 1
    total = struct.unpack_from('<I', records[first][1])[0]
    records[first:last] = encode_sst(total, strings)


# ---------------------------------------------------------------------------------------------
# Compound files


FREESECT, ENDOFCHAIN, FATSECT, DIFSECT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFC


def directory_entry(name, kind, start, size, left=FREESECT, right=FREESECT, child=FREESECT):
    encoded = (name + '\0').encode('utf-16-le')
    return (encoded.ljust(64, b'\0') + struct.pack('<HBB', len(encoded), kind, 1) +
            struct.pack('<III', left, right, child) + b'\0' * 36 +
            struct.pack('<IQ', start, size))


def write_compound(streams, sector_shift=9, scatter_seed=None, fat_sectors=None):
    """A compound file holding the named streams at the root. Streams under 4096 bytes go to
    the mini stream. scatter_seed shuffles the order of all sectors so that no chain is
    contiguous; fat_sectors asks for a FAT larger than needed (beyond 109 sectors the
    remainder is listed in DIFAT sectors)."""
    ss = 1 << sector_shift
    per = ss // 4
    mini = bytearray()
    minifat = []
    entries = []
    chains = {}
    for name, data in streams:
        if len(data) < 4096:
            count = (len(data) + 63) // 64
            start = len(minifat) if count else ENDOFCHAIN
            for k in range(count):
                minifat.append(len(minifat) + 1 if k < count - 1 else ENDOFCHAIN)
            mini += data + b'\0' * (count * 64 - len(data))
            entries.append([name, 2, ('mini', start), len(data)])
        else:
            chains[name] = data
            entries.append([name, 2, name, len(data)])
    if mini:
        chains['\0ministream'] = bytes(mini)
    if minifat:
        chains['\0minifat'] = b''.join(struct.pack('<I', v) for v in minifat)
    dir_count = (len(entries) + 1 + ss // 128 - 1) // (ss // 128)
    chains['\0directory'] = bytes(dir_count * ss)

    items = [(name, k) for name, data in chains.items() for k in range((len(data) + ss - 1) // ss)]
    nfat = 1
    while True:
        total = len(items) + nfat
        ndif = max(0, math.ceil((nfat - 109) / (per - 1)))
        if nfat * per >= total + ndif:
            break
        nfat += 1
    if fat_sectors:
        nfat = max(nfat, fat_sectors)
        ndif = max(0, math.ceil((nfat - 109) / (per - 1)))
    order = list(items)
    if scatter_seed is not None:
        random.Random(scatter_seed).shuffle(order)
    middle = len(order) // 2 if scatter_seed is not None else 0
    layout = order[:middle] + [('\0fat', k) for k in range(nfat)] + \
        [('\0difat', k) for k in range(ndif)] + order[middle:]
    where = {item: index for index, item in enumerate(layout)}

    fat = [FREESECT] * (nfat * per)
    for name, data in chains.items():
        count = (len(data) + ss - 1) // ss
        for k in range(count):
            fat[where[(name, k)]] = where[(name, k + 1)] if k < count - 1 else ENDOFCHAIN
    fat_locations = [where[('\0fat', k)] for k in range(nfat)]
    for s in fat_locations:
        fat[s] = FATSECT
    difat_locations = [where[('\0difat', k)] for k in range(ndif)]
    for s in difat_locations:
        fat[s] = DIFSECT

    def first_sector(name):
        return where[(name, 0)] if name in chains and chains[name] else ENDOFCHAIN

    # Directory: root, then the streams as a balanced tree ordered by (length, upper case).
    dir_entries = []
    ordered = sorted(range(len(entries)),
                     key=lambda i: (len(entries[i][0]), entries[i][0].upper()))

    def build(lo, hi):
        if lo >= hi:
            return FREESECT
        mid = (lo + hi) // 2
        links[ordered[mid]] = (build(lo, mid), build(mid + 1, hi))
        return ordered[mid] + 1
    links = {}
    root_child = build(0, len(ordered))
    dir_entries.append(directory_entry('Root Entry', 5, first_sector('\0ministream'),
                                       len(mini), child=root_child))
    for i, (name, kind, location, size) in enumerate(entries):
        if isinstance(location, tuple):
            start = location[1]
        else:
            start = first_sector(location)
        left, right = links[i]
        dir_entries.append(directory_entry(name, kind, start, size, left, right))
    directory = b''.join(dir_entries)
    chains['\0directory'] = directory + b'\0' * (dir_count * ss - len(directory))
    # Unused directory slots must read as empty entries, with no siblings.
    padded = bytearray(chains['\0directory'])
    for off in range(len(directory), len(padded), 128):
        padded[off + 68:off + 80] = struct.pack('<III', FREESECT, FREESECT, FREESECT)
    chains['\0directory'] = bytes(padded)

    header = bytearray(512)
    header[0:8] = bytes.fromhex('D0CF11E0A1B11AE1')
    struct.pack_into('<HHHHH', header, 24, 0x3E, 3 if ss == 512 else 4, 0xFFFE,
                     sector_shift, 6)
    struct.pack_into('<IIII', header, 40, 0 if ss == 512 else dir_count, nfat,
                     first_sector('\0directory'), 0)
    struct.pack_into('<III', header, 56, 4096, first_sector('\0minifat'),
                     (len(chains.get('\0minifat', b'')) + ss - 1) // ss)
    struct.pack_into('<II', header, 68, difat_locations[0] if ndif else ENDOFCHAIN, ndif)
    head = fat_locations[:109] + [FREESECT] * (109 - min(109, nfat))
    struct.pack_into('<109I', header, 76, *head)

    sectors = []
    rest = fat_locations[109:]
    for item in layout:
        name, k = item
        if name == '\0fat':
            sectors.append(b''.join(struct.pack('<I', v) for v in fat[k * per:(k + 1) * per]))
        elif name == '\0difat':
            chunk = rest[k * (per - 1):(k + 1) * (per - 1)]
            chunk += [FREESECT] * (per - 1 - len(chunk))
            following = difat_locations[k + 1] if k + 1 < ndif else ENDOFCHAIN
            sectors.append(b''.join(struct.pack('<I', v) for v in chunk + [following]))
        else:
            data = chains[name][k * ss:(k + 1) * ss]
            sectors.append(data + b'\0' * (ss - len(data)))
    return bytes(header) + b'\0' * (ss - 512) + b''.join(sectors)


def save(folder, name, records=None, book=None, layout=None):
    if records is None:
        stream = book.get_biff_data()
    else:
        fix_boundsheet_offsets(records)
        stream = join_records(records)
    path = os.path.join(folder, name)
    if layout is None:
        CompoundDoc.XlsDoc().save(path, stream)
    else:
        extra = [('\x05SummaryInformation', summary_information()),
                 ('\x05DocumentSummaryInformation', b'\xfe\xff' + b'\0' * 110)]
        with open(path, 'wb') as f:
            f.write(write_compound([('Workbook', stream)] + extra, **layout))


def summary_information():
    # A property set header with no sections: enough for readers that only list streams.
    return struct.pack('<HHI16sI', 0xFFFE, 0, 0x00020006, b'\0' * 16, 0) + b'\0' * 20


# ---------------------------------------------------------------------------------------------
# Styles

DATE = xlwt.easyxf(num_format_str='YYYY-MM-DD')
DATETIME = xlwt.easyxf(num_format_str='YYYY-MM-DD HH:MM:SS')
TIME = xlwt.easyxf(num_format_str='HH:MM:SS')
BORDERED = xlwt.easyxf('borders: left thin, right thin, top thin, bottom thin')
FIXED = xlwt.easyxf(num_format_str='#,##0.00')

# Numbers chosen for how they are stored: 30-bit RK integers and their limits, RK x 100,
# values needing an 8-byte NUMBER, signed zero, extremes and subnormals.
NUMBERS = [
    0.0, 1.0, -1.0, 7.0, 100.0, 1001.0, 9999999.0, 536870911.0, -536870912.0,
    536870912.0, -536870913.0, 12.34, -12.34, 0.01, 0.5, 12.5, 13.5, -2.5, 9999999.5,
    5368709.11, -5368709.12, 21474836.47, 2147483647.0, 2147483648.0, -2147483648.0,
    -2147483649.0, 4294967296.0, 3e9, 1e15, 999999999999999.0, 1e20, -1e20, 1e-7, 1e-5,
    0.1, 0.3, 1 / 3, 2 / 3, 3.14159, 123456789.123, 1234.5678, 1.7976931348623157e308,
    2.2250738585072014e-308, 5e-324, -0.0, 0.1 + 0.2, 1e300, 123456789012345678.0,
]

# Values stored as RK with a float payload (the low 34 bits of the double are zero), plain
# and x 100; xlwt never writes these.
FLOAT_RK = [1099511627776.0, -1.5 * 2 ** 45, 0.75 * 2 ** -20, 2.0 ** 100, -(2.0 ** -30)]
FLOAT_RK_100 = [v / 100 for v in (2.0 ** 40, 3 * 2.0 ** 35, -(2.0 ** 33) * 5)]


def float_rk(value):
    bits = struct.unpack('<Q', struct.pack('<d', value))[0]
    if bits & 0x3FFFFFFFF == 0:
        return (bits >> 32) & 0xFFFFFFFC
    scaled = value * 100
    bits = struct.unpack('<Q', struct.pack('<d', scaled))[0]
    if bits & 0x3FFFFFFFF == 0 and scaled / 100 == value:
        return ((bits >> 32) & 0xFFFFFFFC) | 1
    return None


def replace_with_float_rk(records):
    for record in records:
        if record[0] != NUMBER:
            continue
        row, col, xf, value = struct.unpack('<HHHd', record[1])
        rk = float_rk(value) if value in FLOAT_RK or value in FLOAT_RK_100 else None
        if rk is not None:
            record[0] = RK
            record[1] = struct.pack('<HHHI', row, col, xf, rk)


def numbers_book(folder, dates_1904=False, name='numbers.xls', small=False):
    book = xlwt.Workbook(encoding='utf-8')
    if dates_1904:
        book.dates_1904 = True
    sheet = book.add_sheet('数値')
    for i, value in enumerate(NUMBERS + FLOAT_RK + FLOAT_RK_100):
        sheet.write(i, 0, value)                      # alone: RK or NUMBER
        sheet.write(i, 1, value)                      # neighbours: MULRK runs
        sheet.write(i, 2, -value if value else 1.0)
        sheet.write(i, 4, value, FIXED)               # formatted, still a number
    # Amounts in cents, stored as RK x 100: their decoding must divide by 100, since
    # multiplying by 0.01 gives a different double for many of them.
    for i, cents in enumerate(range(-30000, 30000, 1511 if small else 37)):
        sheet.write(70 + i // 40, i % 40, cents / 100)
    # A long run of RK integers in one row, crossing into NUMBER values.
    for col in range(20 if small else 200):
        sheet.write(60, col, col * 1000 + 1 if col % 7 else col + 0.25)

    dates = book.add_sheet('日付')
    serials = [1, 2, 59, 60, 61, 366, 367, 36526, 36526.5, 43831.999988, 45000.25,
               45291.75, 2958465, 2958465.99998843, 0.0, 0.5, 0.75, 0.999988426, 1.5]
    for i, serial in enumerate(serials):
        dates.write(i, 0, serial, DATE)
        dates.write(i, 1, serial, DATETIME)
        dates.write(i, 2, serial, TIME)
        dates.write(i, 3, serial)
    dates.write(30, 0, datetime.date(2024, 2, 29), DATE)
    dates.write(31, 0, datetime.datetime(2023, 12, 31, 23, 59, 59), DATETIME)

    logic = book.add_sheet('論理値とエラー')
    logic.write(0, 0, True)
    logic.write(0, 1, False)
    logic.write(1, 0, 'TRUE')                        # a text that looks like one
    for col, code in enumerate([0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A]):
        logic.row(2).set_cell_error(col, code)
        logic.row(3).set_cell_boolean(col, col % 2 == 0)

    gaps = book.add_sheet('Gaps & blanks')
    for row in range(0, 60 if small else 3000, 3):
        if row % 9 == 0:
            gaps.write(row, 0, row)
            gaps.write(row, 5, 'r%d' % row)
        elif row % 9 == 3:
            for col in range(1, 6):                   # formatted blanks: MULBLANK
                gaps.write(row, col, None, BORDERED)
        else:
            gaps.write(row, 3, None, BORDERED)         # a single BLANK
            gaps.write(row, 9, row / 4)
    gaps.write(3001, 255, 'IV')                        # the last column of a BIFF8 sheet

    book.add_sheet('空シート')                          # no cell at all

    records = stream_of(book)
    replace_with_float_rk(records)
    save(folder, name, records)


# ---------------------------------------------------------------------------------------------
# Strings


def long_text(seed, length, alphabet):
    rng = random.Random(seed)
    return ''.join(rng.choice(alphabet) for _ in range(length))


LATIN = 'abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789éüßÀ¥'
KANA = 'あいうえおかきくけこアイウエオカキクケコ商品在庫部品数量単位個箱セット'


def strings_book(folder, name, long_count, decorated=True, short_count=2500):
    book = xlwt.Workbook(encoding='utf-8')
    sheet = book.add_sheet('文字列')
    texts = [
        ' ', 'A', '商品', '○', '　全角空白　', 'tab\there', 'line\nbreak', 'cr\rlf\r\n',
        'back\\slash', '"quoted"', "it's", 'Ω≈ç√', '𠮷野家', '🍣 sushi', '\u00a0nbsp', 'x' * 255,
        'Excel TRUE', '1,234', '12abc', '#DIV/0!', '  trailing  ',
    ]
    row = 0
    for text in texts:
        sheet.write(row, 0, text)
        row += 1
    # Many distinct short strings, so that string headers land at every offset of a record.
    for i in range(short_count):
        sheet.write(row, i % 4, ('k%d-' % i) + 'y' * (i % 23) + ('品' * (i % 5)))
        if i % 4 == 3:
            row += 1
    row += 1
    # Long strings that cross record ends: 8-bit only, 16-bit only, and mixed, so that the
    # compression flag of the continuation differs from the first piece's.
    longs = [
        long_text(4, 8210, 'abc') + long_text(5, 3000, KANA),
        long_text(1, 9000, 'abcdefghij'),
        long_text(3, 6000, KANA),
        long_text(2, 20000, LATIN),
        long_text(6, 4100, KANA) + long_text(7, 9000, 'xyz'),
        long_text(8, 32767, LATIN + KANA),
        ('日本' * 2100) + ('latin' * 50) + ('語' * 3000),
    ]
    longs = longs[:long_count]
    for i, text in enumerate(longs):
        sheet.write(row + i, 1, text)
    row += len(longs)
    # Strings that carry rich text runs and phonetic blocks, short and long.
    rich = {}
    for i, text in enumerate(['商品マスタ', '在庫数量', long_text(9, 5000, KANA),
                              long_text(10, 7000, 'mnop') + '部品', 'プレーン']):
        sheet.write(row + i, 2, text)
        rich[text] = i
    records = stream_of(book)

    def decorate(index, text):
        kind = rich.get(text)
        if kind is None:
            if any(ord(c) > 0x3000 for c in text) and index % 3 == 0:
                return SstString(text, phonetic=phonetic_block(text))
            return SstString(text)
        runs = [(0, 1), (min(2, len(text) - 1), 0)] if kind % 2 == 0 else []
        runs += [(p, 1 + p % 2) for p in range(3, len(text), max(1, len(text) // 600))]
        return SstString(text, runs=runs[:1500], phonetic=phonetic_block(text) if kind != 4
                         else b'')
    replace_sst(records, book, decorate if decorated else None)
    save(folder, name, records)


# ---------------------------------------------------------------------------------------------
# The two master sheets, as users keep them


def masters_book(folder, twin=None):
    """twin, when given, is called with each new xlwt sheet and returns an object with the
    sheet's write() and visibility that also writes every cell to another workbook."""
    book = xlwt.Workbook(encoding='utf-8')

    def add_sheet(name):
        sheet = book.add_sheet(name)
        return twin(sheet, name) if twin else sheet

    products = add_sheet('商品マスタ')
    products.write(0, 0, 'セット商品構成表')
    headings = ['', 'セットコード', 'セット名', '区分', '担当', '備考', '部品コード', '部品名',
                '数量', 'メモ']
    for col, text in enumerate(headings):
        products.write(2, col, text or None, BORDERED)
    row = 3
    rng = random.Random(42)
    for s in range(300):
        for c in range(10):
            if row % 97 == 0:
                row += 1                                 # an empty row
            products.write(row, 0, '○' if row == 3 else None)
            code = 'S%05d' % s if s % 4 else 100000 + s  # codes as text and as numbers
            products.write(row, 1, code, BORDERED)
            products.write(row, 2, 'セット商品%d号' % s)
            products.write(row, 3, rng.choice(['通常', '限定', '']) or None, BORDERED)
            products.write(row, 6, 'P%06d' % rng.randrange(4000))
            products.write(row, 7, '部品' + long_text(row, 1 + row % 12, KANA))
            quantity = [rng.randrange(1, 50), '12', ' 3 ', 2.5, 9999999][row % 5 if s < 20
                                                                          else 0]
            products.write(row, 8, quantity)
            if c % 3 == 0:
                products.write(row, 9, 'note %d' % row)
            row += 1
    products.write(row + 2, 1, None, BORDERED)

    stocks = add_sheet('在庫マスタ')
    stocks.write(0, 1, '在庫一覧')
    for i in range(4000):
        r = i + 2
        stocks.write(r, 0, '○' if i == 0 else ('' if i % 50 else '×'))
        stocks.write(r, 1, 'P%06d' % i)
        stocks.write(r, 2, '商品名%d ' % i + long_text(i, i % 20, KANA))
        stocks.write(r, 3, ['個', '箱', 'セット', '本'][i % 4])
        stocks.write(r, 4, '1' if i % 10 == 0 else '0')
        stocks.write(r, 5, i * 3 % 100000)
        stocks.write(r, 6, 0)
        if i % 7 == 0:
            stocks.write(r, 7, '備考 %d' % i)
        else:
            stocks.write(r, 7, None, BORDERED)

    memo = add_sheet('メモ 2024年度')
    memo.write(0, 0, 'この表は取り込まれません')
    add_sheet('空シート')
    hidden = add_sheet('非表示')
    hidden.visibility = 1
    hidden.write(5, 5, 'hidden')
    add_sheet('長いシート名はここで三十一文字まで使えますよ')
    save(folder, 'masters.xls', book=book)
    return book


# ---------------------------------------------------------------------------------------------
# Formulas with the cached results a spreadsheet would have stored


def formulas_book(folder):
    book = xlwt.Workbook(encoding='utf-8')
    sheet = book.add_sheet('計算')
    for row in range(5):
        sheet.write(row, 0, row + 1)
        sheet.write(row, 1, (row + 1) * 1.5)
    long_result = long_text(11, 10000, KANA + 'abc')
    cases = [
        ('A1+B1', ('number', 2.5)),
        ('SUM(A1:A5)', ('number', 15.0)),
        ('A1/3', ('number', 1 / 3)),
        ('A1*100000000000000000000', ('number', 1e20)),
        ('A1-A1', ('number', -0.0)),
        ('"abc"&"def"', ('text', 'abcdef')),
        ('"商品"&"マスタ"', ('text', '商品マスタ')),
        ('"x"', ('text', long_result)),               # a STRING record with CONTINUEs
        ('""', ('text', '')),                         # a STRING record of no characters
        ('A1=1', ('bool', True)),
        ('A1=2', ('bool', False)),
        ('1/0', ('error', 0x07)),
        ('A1+"a"', ('error', 0x0F)),
        ('NA()', ('error', 0x2A)),
        ('SQRT(-1)', ('error', 0x24)),
        ('IF(A1=1,"","x")', ('empty', None)),         # as xlwt leaves every formula
        ('A1&""', ('text', '1')),
    ]
    for i, (text, _) in enumerate(cases):
        sheet.write(i, 3, xlwt.Formula(text))
        sheet.write(i, 4, xlwt.Formula(text))
    sheet.write(20, 0, xlwt.Formula('A1'), DATE)     # a formula on a date format
    records = stream_of(book)
    results = {(i, 3): result for i, (_, result) in enumerate(cases)}
    results[(20, 0)] = ('number', 1.0)
    out = []
    for rid, data in records:
        out.append([rid, data])
        if rid != FORMULA:
            continue
        row, col = struct.unpack_from('<HH', data)
        kind, value = results.get((row, col), ('empty', None))
        body = bytearray(data)
        if kind == 'number':
            body[6:14] = struct.pack('<d', value)
        elif kind == 'text':
            body[6:14] = struct.pack('<BBBBBBH', 0, 0, 0, 0, 0, 0, 0xFFFF)
        elif kind == 'bool':
            body[6:14] = struct.pack('<BBBBBBH', 1, 0, int(value), 0, 0, 0, 0xFFFF)
        elif kind == 'error':
            body[6:14] = struct.pack('<BBBBBBH', 2, 0, value, 0, 0, 0, 0xFFFF)
        out[-1][1] = bytes(body)
        if kind == 'text':
            out.extend(string_records(value))
    save(folder, 'xlwt_formulas.xls', out)


def string_records(text):
    units = text.encode('utf-16-le')
    wide = any(units[i + 1] for i in range(0, len(units), 2))
    data = struct.pack('<HB', len(units) // 2, 1 if wide else 0)
    data += units if wide else units[0::2]
    first = 3 + ((MAX_RECORD - 3) & ~1 if wide else MAX_RECORD - 3)
    pieces = [[STRING, data[:first]]]
    rest = data[first:]
    while rest:
        take = (MAX_RECORD - 1) & ~1 if wide else MAX_RECORD - 1
        pieces.append([CONTINUE, bytes([1 if wide else 0]) + rest[:take]])
        rest = rest[take:]
    return pieces


# ---------------------------------------------------------------------------------------------
# Compound file layouts


def small_book():
    book = xlwt.Workbook(encoding='utf-8')
    products = book.add_sheet('商品マスタ')
    products.write(0, 0, '○')
    for col, value in enumerate(['S1', 'セットA', '', '', '', 'P1', '部品', 3, '']):
        products.write(0, col + 1, value)
    stocks = book.add_sheet('在庫マスタ')
    for row, (code, name, flag, qty) in enumerate([('S1', 'セットA', '1', 0),
                                                   ('P1', '部品', '0', 12.5)]):
        for col, value in enumerate(['○' if row == 0 else '', code, name, '個', flag, qty, 0,
                                     '']):
            stocks.write(row, col, value)
    return book


def layout_books(folder, small=False):
    tiny = small_book().get_biff_data()
    assert len(tiny) < 4096
    records = split_records(tiny)
    # The whole workbook stream in the mini stream.
    save(folder, 'layout_ministream.xls', records, layout={})
    if small:
        # The same few cells in the other layouts, the stream padded out of the mini stream.
        padded = records + [[0x00E1, b'\0' * 2000], [0x00E1, b'\0' * 2000]]
        save(folder, 'layout_scattered.xls', list(padded), layout={'scatter_seed': 7})
        save(folder, 'layout_4096.xls', list(padded), layout={'sector_shift': 12,
                                                               'scatter_seed': 3})
        save(folder, 'layout_difat.xls', list(padded), layout={'fat_sectors': 110})
        save(folder, 'masters_small.xls', book=small_book())
        return
    medium = xlwt.Workbook(encoding='utf-8')
    sheet = medium.add_sheet('在庫マスタ')
    for row in range(600):
        sheet.write(row, 0, '○' if row == 0 else '')
        sheet.write(row, 1, 'P%04d' % row)
        sheet.write(row, 2, '品名' * (row % 9))
        sheet.write(row, 5, row * 0.5)
    medium.add_sheet('商品マスタ').write(0, 1, 'x')
    records = stream_of(medium)
    save(folder, 'layout_scattered.xls', records, layout={'scatter_seed': 7})
    records = stream_of(medium)
    save(folder, 'layout_4096.xls', records, layout={'sector_shift': 12, 'scatter_seed': 3})
    records = stream_of(medium)
    save(folder, 'layout_difat.xls', records, layout={'fat_sectors': 240, 'scatter_seed': 5})


def not_workbooks(folder):
    damaged = os.path.join(folder, 'damaged')
    os.makedirs(damaged, exist_ok=True)
    with open(os.path.join(damaged, 'empty.xls'), 'wb'):
        pass
    with open(os.path.join(damaged, 'text.xls'), 'w', encoding='utf-8') as f:
        f.write('商品コード,数量\nP1,3\n')
    with zipfile.ZipFile(os.path.join(damaged, 'book.xlsx.xls'), 'w') as z:
        z.writestr('[Content_Types].xml', '<?xml version="1.0"?><Types/>')
        z.writestr('xl/workbook.xml', '<workbook><sheets><sheet name="商品マスタ"/></sheets>'
                                      '</workbook>')
    with open(os.path.join(damaged, 'header-only.xls'), 'wb') as f:
        f.write(bytes.fromhex('D0CF11E0A1B11AE1') + b'\0' * 504)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    if len(args) != 1:
        sys.exit(__doc__)
    folder = args[0]
    os.makedirs(folder, exist_ok=True)
    small = '--small' in sys.argv
    numbers_book(folder, small=small)
    numbers_book(folder, dates_1904=True, name='dates1904.xls', small=small)
    formulas_book(folder)
    layout_books(folder, small)
    if small:
        strings_book(folder, 'strings.xls', 1, short_count=60)
    else:
        strings_book(folder, 'strings.xls', 7)
        # Without long, rich or phonetic strings: a table the other readers also manage.
        strings_book(folder, 'strings_plain.xls', 0, decorated=False)
        masters_book(folder)
        not_workbooks(folder)


if __name__ == '__main__':
    main()
