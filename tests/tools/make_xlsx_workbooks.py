#!/usr/bin/python3
"""Writes the .xlsx workbooks the reader and import tests read, into OUTPUT_FOLDER/xlsx:

  masters.xlsx        the rows of make_workbooks.py's masters.xls, written by openpyxl
                      (the two must import and print alike)
  cells.xlsx          a package written by hand with every kind of cell and string item:
                      rich and phonetic runs, escapes, xml:space, character references,
                      cells and rows without references and out of order, formulas with and
                      without a cached value, a <dimension> that lies
  cells_strict.xlsx   the same cells in the strict namespaces, with element prefixes, and
                      with a chart sheet, a dialog sheet and a macro sheet between worksheets
  hostile/*.xlsx      packages every reader must refuse, one damage each

Usage: make_xlsx_workbooks.py OUTPUT_FOLDER [--small]
  --small   only the hand-made packages (seeds for the fuzzer)
"""
import os
import struct
import sys
import tempfile
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_workbooks  # noqa: E402

MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
STRICT_MAIN = 'http://purl.oclc.org/ooxml/spreadsheetml/main'
STRICT_REL = 'http://purl.oclc.org/ooxml/officeDocument/relationships'
PKG = 'http://schemas.openxmlformats.org/package/2006/relationships'
XML_DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

STYLES = ('<styleSheet xmlns="%s"><fonts count="1"><font><sz val="11"/></font></fonts>'
          '<fills count="1"><fill><patternFill patternType="none"/></fill></fills>'
          '<borders count="1"><border/></borders>'
          '<cellStyleXfs count="1"><xf/></cellStyleXfs>'
          '<cellXfs count="2"><xf/><xf borderId="0"/></cellXfs></styleSheet>')


class Sheet:
    """kind: worksheet, chartsheet, dialogsheet or macrosheet; body: the XML inside the root
    element."""

    def __init__(self, name, body, kind='worksheet'):
        self.name, self.body, self.kind = name, body, kind


def package_parts(sheets, strings=None, strict=False, prefix='', workbook_extra='',
                  rel_target=None):
    """The parts of a package as (name, bytes) in writing order. prefix puts every
    SpreadsheetML element in a prefixed namespace ("x:"). rel_target(index, target) may change
    the target a sheet relationship gives."""
    main, rel = (STRICT_MAIN, STRICT_REL) if strict else (MAIN, REL)
    p = prefix
    ns = 'xmlns%s="%s"' % ((':' + p.rstrip(':')) if p else '', main)
    folder = {'worksheet': 'worksheets', 'chartsheet': 'chartsheets',
              'dialogsheet': 'dialogsheets', 'macrosheet': 'macrosheets'}
    parts = []
    office = 'application/vnd.openxmlformats-officedocument.spreadsheetml.'
    overrides = [('/xl/workbook.xml', 'sheet.main+xml'), ('/xl/styles.xml', 'styles+xml')]
    for i, sheet in enumerate(sheets, 1):
        overrides.append(('/xl/%s/sheet%d.xml' % (folder[sheet.kind], i),
                          sheet.kind + '+xml'))
    if strings is not None:
        overrides.append(('/xl/sharedStrings.xml', 'sharedStrings+xml'))
    types = ('<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.'
             'relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>'
             + ''.join('<Override PartName="%s" ContentType="%s%s"/>' % (name, office, kind)
                       for name, kind in overrides) + '</Types>')
    parts.append(('[Content_Types].xml', types))
    parts.append(('_rels/.rels',
                  '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" '
                  'Target="xl/workbook.xml"/></Relationships>' % (PKG, rel)))
    entries, rels = [], []
    for i, sheet in enumerate(sheets, 1):
        target = '%s/sheet%d.xml' % (folder[sheet.kind], i)
        if rel_target:
            target = rel_target(i, target)
        entries.append('<%ssheet name="%s" sheetId="%d" r:id="rId%d"/>'
                       % (p, sheet.name, i, i))
        rels.append('<Relationship Id="rId%d" Type="%s/%s" Target="%s"/>'
                    % (i, rel, sheet.kind, target))
        root = sheet.kind
        parts.append(('xl/%s/sheet%d.xml' % (folder[sheet.kind], i),
                      '<%s%s %s xmlns:r="%s">%s</%s%s>'
                      % (p, root, ns, rel, sheet.body, p, root)))
    n = len(sheets)
    rels.append('<Relationship Id="rId%d" Type="%s/styles" Target="styles.xml"/>'
                % (n + 1, rel))
    parts.append(('xl/styles.xml', STYLES % main))
    if strings is not None:
        rels.append('<Relationship Id="rId%d" Type="%s/sharedStrings" '
                    'Target="/xl/sharedStrings.xml"/>' % (n + 2, rel))
        parts.append(('xl/sharedStrings.xml',
                      '<%ssst %s count="%d" uniqueCount="%d">%s</%ssst>'
                      % (p, ns, len(strings), len(strings), ''.join(strings), p)))
    parts.append(('xl/workbook.xml',
                  '<%sworkbook %s xmlns:r="%s">%s<%ssheets>%s</%ssheets></%sworkbook>'
                  % (p, ns, rel, workbook_extra, p, ''.join(entries), p, p)))
    parts.append(('xl/_rels/workbook.xml.rels',
                  '<Relationships xmlns="%s">%s</Relationships>' % (PKG, ''.join(rels))))
    return [(name, (XML_DECL + text).encode('utf-8') if isinstance(text, str) else text)
            for name, text in parts]


def write_zip(path, parts):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in parts:
            z.writestr(name, data)


def prefixed(xml, p):
    """Puts the element names of a fragment written without prefix into prefix p."""
    if not p:
        return xml
    out, i = [], 0
    while i < len(xml):
        if xml[i] == '<' and xml[i + 1] not in '?!':
            j = i + 1
            if xml[j] == '/':
                out.append('</' + p)
                i = j + 1
                continue
            out.append('<' + p)
            i = j
            continue
        out.append(xml[i])
        i += 1
    return ''.join(out)


# ---------------------------------------------------------------------------------------------
# Every kind of cell

CELL_STRINGS = [
    '<si><t>plain</t></si>',
    '<si><r><t>リッチ</t></r><r><rPr><b/></rPr><t>テキスト</t></r>'
    '<rPh sb="0" eb="3"><t>リッチ</t></rPh><phoneticPr fontId="0"/></si>',
    '<si><t xml:space="preserve">  前後に空白  </t></si>',
    '<si><t>&#x3042;&amp;&lt;&#65;&gt;</t></si>',
    '<si><t>_x000D__x000A_改行_x005F_x0041_ _x00e9_ _xZZZZ_ _x41_</t></si>',
    '<si><t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh></si>',
    '<si><r><t xml:space="preserve">前 </t></r><r><t xml:space="preserve"> 後</t></r></si>',
    '<si><t/></si>',
]

CELL_ROWS = (
    '<row r="1" spans="1:5"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>'
    '<c r="C1" t="s"><v>2</v></c><c r="D1" t="s"><v>3</v></c><c r="E1" t="s"><v>4</v></c>'
    '<c r="F1" t="s"><v>5</v></c><c r="G1" t="s"><v>6</v></c><c r="H1" t="s"><v>7</v></c>'
    '</row>'
    # cells without references follow the cell before them
    '<row r="2"><c t="inlineStr"><is><t>inline</t></is></c>'
    '<c t="inlineStr"><is><r><t>太字</t></r><r><rPr><b/></rPr>'
    '<t xml:space="preserve"> と細字</t></r><rPh sb="0" eb="2"><t>フトジ</t></rPh></is></c>'
    '<c t="inlineStr"><is><t>_x0041__x005F_x0042_</t></is></c>'
    '<c r="E2"><v>1.5E+20</v></c><c><v>12345678901234567890</v></c></row>'
    # a row without a reference follows the row before it
    '<row><c><v>-0</v></c><c><v>1e-7</v></c><c t="b"><v>1</v></c><c t="b"><v>0</v></c>'
    '<c t="e"><v>#DIV/0!</v></c><c t="e"><v>#N/A</v></c><c t="n"><v>0.1</v></c>'
    '<c><v>-2.5</v></c></row>'
    # cells out of order, formulas with and without a cached value
    '<row r="6"><c r="C6" t="str"><f>"a"&amp;"b"</f><v>ab</v></c><c r="D6"><f>1/0</f></c>'
    '<c r="E6" t="str"><f>""</f><v></v></c><c r="A6"><f>SUM(1,2)</f><v>3</v></c>'
    '<c r="B6" t="b"><f>1&lt;2</f><v>1</v></c><c r="F6" t="e"><f>NA()</f><v>#N/A</v></c></row>'
    # a row out of order, a date cell, a formatted empty cell
    '<row r="4"><c r="B4" t="d"><v>2024-04-01T12:00:00</v></c><c r="A4" s="1"><v>45383</v></c>'
    '<c r="C4" s="1"/></row>'
    '<row r="9"><c r="J9" s="1"/></row>'
    '<row r="8"><c r="A8" t="s"><v>5</v></c><c r="B8" t="inlineStr"></c></row>'
)

MASTER_ROWS = (
    '<row r="1"><c r="A1" t="inlineStr"><is><t>○</t></is></c>'
    '<c r="B1" t="inlineStr"><is><t>S001</t></is></c><c r="C1" t="s"><v>1</v></c>'
    '<c r="G1" t="inlineStr"><is><t>P001</t></is></c><c r="I1"><v>3</v></c>'
    '<c r="J1" s="1"/></row>'
)


def cell_sheets(p=''):
    body = prefixed('<dimension ref="A1:B2"/><sheetData>%s</sheetData>' % CELL_ROWS, p)
    masters = prefixed('<sheetData>%s</sheetData>' % MASTER_ROWS, p)
    return [Sheet('値', body), Sheet('商品マスタ', masters)]


def cells_books(folder):
    write_zip(os.path.join(folder, 'cells.xlsx'),
              package_parts(cell_sheets(), CELL_STRINGS))
    # The same package whose first worksheet's local header disagrees with the central
    # directory only on fields no reader uses: the time (one step of two seconds), the date
    # and the version needed to extract.
    cells = zip_bytes(package_parts(cell_sheets(), CELL_STRINGS))
    local_pos = dict((n, struct.unpack_from('<I', cells, pos + 42)[0])
                     for pos, n in central_records(cells))['xl/worksheets/sheet1.xml']
    time, date = struct.unpack_from('<HH', cells, local_pos + 10)
    with open(os.path.join(folder, 'cells_local_header_times.xlsx'), 'wb') as f:
        f.write(patched(cells, 'xl/worksheets/sheet1.xml',
                        local={4: ('<H', 45), 10: ('<H', time + 1), 12: ('<H', date + 1)}))
    # The same with every local header giving its sizes in a zip64 field only.
    path = os.path.join(folder, 'cells_zip64.xlsx')
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in package_parts(cell_sheets(), CELL_STRINGS):
            with z.open(name, 'w', force_zip64=True) as entry:
                entry.write(data)
    with open(path, 'rb') as f:
        data = f.read()
    for _, name in central_records(data):
        data = patched(data, name, local={18: ('<I', 0xFFFFFFFF), 22: ('<I', 0xFFFFFFFF)})
    with open(path, 'wb') as f:
        f.write(data)
    p = 'x:'
    sheets = cell_sheets(p)
    chart = Sheet('グラフ', '<%ssheetViews/>' % p, 'chartsheet')
    dialog = Sheet('ダイアログ', '', 'dialogsheet')
    macro = Sheet('マクロ', '', 'macrosheet')
    write_zip(os.path.join(folder, 'cells_strict.xlsx'),
              package_parts([chart, sheets[0], dialog, macro, sheets[1]],
                            [prefixed(s, p) for s in CELL_STRINGS], strict=True, prefix=p,
                            workbook_extra='<%sworkbookPr dateCompatibility="1"/>' % p))


# ---------------------------------------------------------------------------------------------
# The masters workbook, written by openpyxl from the same rows as the .xls


def masters_twin(folder):
    import openpyxl
    from openpyxl.styles import Border, Side

    book = openpyxl.Workbook()
    book.remove(book.active)
    thin = Side(style='thin')
    border = Border(left=thin, right=thin, top=thin, bottom=thin)

    class Twin:
        def __init__(self, sheet, name):
            self.sheet, self.other = sheet, book.create_sheet(name)

        @property
        def visibility(self):
            return self.sheet.visibility

        @visibility.setter
        def visibility(self, value):
            self.sheet.visibility = value
            self.other.sheet_state = 'hidden' if value else 'visible'

        def write(self, row, col, value, style=None):
            if style is None:
                self.sheet.write(row, col, value)
            else:
                self.sheet.write(row, col, value, style)
            cell = self.other.cell(row=row + 1, column=col + 1)
            cell.value = None if value == '' else value
            if style is not None:
                cell.border = border

    with tempfile.TemporaryDirectory() as scratch:
        make_workbooks.masters_book(scratch, Twin)
    book.save(os.path.join(folder, 'masters.xlsx'))


# ---------------------------------------------------------------------------------------------
# Hostile packages


def simple_parts(body='<sheetData>%s</sheetData>' % MASTER_ROWS, strings=CELL_STRINGS, **kw):
    return package_parts([Sheet('商品マスタ', body)], strings, **kw)


def replace_part(parts, name, data):
    return [(n, data if n == name else d) for n, d in parts]


def central_directory_offset(data):
    end = data.rindex(b'PK\x05\x06')
    return end, struct.unpack_from('<I', data, end + 16)[0]


def central_records(data):
    """Offsets of the central directory records, with their names."""
    end, pos = central_directory_offset(data)
    records = []
    while pos < end:
        name_len, extra_len, comment_len = struct.unpack_from('<HHH', data, pos + 28)
        records.append((pos, data[pos + 46:pos + 46 + name_len].decode()))
        pos += 46 + name_len + extra_len + comment_len
    return records


def patched(data, name, central=None, local=None):
    """Overwrites fields of one entry's central record and local header: dicts of offset to
    (format, value)."""
    data = bytearray(data)
    for pos, entry in central_records(data):
        if entry != name:
            continue
        local_pos = struct.unpack_from('<I', data, pos + 42)[0]
        for offset, (fmt, value) in (central or {}).items():
            struct.pack_into(fmt, data, pos + offset, value)
        for offset, (fmt, value) in (local or {}).items():
            struct.pack_into(fmt, data, local_pos + offset, value)
    return bytes(data)


def with_first_stored_byte(data, name, value):
    """Overwrites the first byte of one entry's stored data (0x07 opens a deflate block of a
    type that does not exist)."""
    data = bytearray(data)
    for pos, entry in central_records(data):
        if entry == name:
            local_pos = struct.unpack_from('<I', data, pos + 42)[0]
            name_length, extra_length = struct.unpack_from('<HH', data, local_pos + 26)
            data[local_pos + 30 + name_length + extra_length] = value
    return bytes(data)


def zip_bytes(parts, method=zipfile.ZIP_DEFLATED):
    path = tempfile.mktemp(suffix='.zip')
    try:
        with zipfile.ZipFile(path, 'w', method) as z:
            for name, data in parts:
                z.writestr(name, data)
        with open(path, 'rb') as f:
            return f.read()
    finally:
        os.unlink(path)


def raw_deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def overlapping_bomb(count=40):
    """Many worksheets whose entries all point at the same deflated bytes: each alone is
    within deflate's ratio, together they are far beyond it."""
    sheet = ('<worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>'
             % (MAIN, ' ' * (32 << 20))).encode()
    parts = package_parts([Sheet('S%d' % i, '') for i in range(count)])
    parts = [(n, d) for n, d in parts if not n.startswith('xl/worksheets/')]
    deflated = raw_deflate(sheet)
    crc = zlib.crc32(sheet)
    out = bytearray()
    central = bytearray()

    def local(name, comp, size, crc_value, payload):
        encoded = name.encode()
        header = struct.pack('<IHHHHHIIIHH', 0x04034B50, 20, 0, 8, 0, 0, crc_value, len(comp),
                             size, len(encoded), 0) + encoded
        return header + payload

    def central_entry(name, comp_len, size, crc_value, offset):
        encoded = name.encode()
        return struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 20, 20, 0, 8, 0, 0, crc_value,
                           comp_len, size, len(encoded), 0, 0, 0, 0, 0, offset) + encoded

    for name, data in parts:
        comp = raw_deflate(data)
        offset = len(out)
        out += local(name, comp, len(data), zlib.crc32(data), comp)
        central += central_entry(name, len(comp), len(data), zlib.crc32(data), offset)
    shared = len(out)
    out += local('xl/worksheets/sheet1.xml', deflated, len(sheet), crc, deflated)
    for i in range(count):
        central += central_entry('xl/worksheets/sheet%d.xml' % (i + 1), len(deflated),
                                 len(sheet), crc, shared)
    entries = len(parts) + count
    start = len(out)
    out += central
    out += struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, entries, entries, len(central), start, 0)
    return bytes(out)


def entries_sharing_region(parts, first, second):
    """A stored archive in which the entry second lies inside the local header of first: the
    extra field of first's header holds second's whole header, so both entries' data are the
    same bytes. Both headers agree with the central directory."""
    out, central = bytearray(), bytearray()

    def local_header(name, data, extra=b''):
        encoded = name.encode()
        return struct.pack('<IHHHHHIIIHH', 0x04034B50, 20, 0, 0, 0, 0, zlib.crc32(data),
                           len(data), len(data), len(encoded), len(extra)) + encoded + extra

    def central_entry(name, data, offset):
        encoded = name.encode()
        return struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 20, 20, 0, 0, 0, 0,
                           zlib.crc32(data), len(data), len(data), len(encoded), 0, 0, 0, 0, 0,
                           offset) + encoded

    contents = dict(parts)
    for name, data in parts:
        if name == second:
            continue
        offset = len(out)
        if name == first:
            inner = local_header(second, contents[second])
            extra = struct.pack('<HH', 0x7A7A, len(inner)) + inner
            out += local_header(name, data, extra) + data
            central += central_entry(second, contents[second],
                                     offset + 30 + len(name.encode()) + 4)
        else:
            out += local_header(name, data) + data
        central += central_entry(name, data, offset)
    start = len(out)
    out += central
    out += struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, len(parts), len(parts), len(central),
                       start, 0)
    return bytes(out)


def hostile_books(folder):
    out = os.path.join(folder, 'hostile')
    os.makedirs(out, exist_ok=True)
    books = {}
    base = simple_parts()
    base_zip = zip_bytes(base)

    # Two sheet entries on one part, however the second names it, and two entries on one
    # region of the archive: each would import the same rows twice.
    two = [Sheet('商品マスタ', '<sheetData>%s</sheetData>' % MASTER_ROWS),
           Sheet('在庫マスタ', '<sheetData/>')]
    books['sheets-share-relationship-id'] = zip_bytes([
        (n, d.replace(b'r:id="rId2"', b'r:id="rId1"')) for n, d in package_parts(two)])
    for kind, alias in [('percent', 'worksheets/%73heet1.xml'),
                        ('case', 'WorkSheets/SHEET1.xml'),
                        ('absolute', '/xl/worksheets/sheet1.xml'),
                        ('detour', '../xl/chartsheets/../worksheets/sheet1.xml')]:
        books['sheets-share-part-' + kind] = zip_bytes(package_parts(
            two, rel_target=lambda i, t, alias=alias: alias if i == 2 else t))
    books['entries-share-region'] = entries_sharing_region(
        package_parts([two[0], Sheet('在庫マスタ', two[0].body)]),
        'xl/worksheets/sheet1.xml', 'xl/worksheets/sheet2.xml')
    books['many-sheets-one-part'] = zip_bytes([
        (n, d) for n, d in package_parts(
            [Sheet('S%d' % i, '<sheetData/>') for i in range(20000)],
            rel_target=lambda i, t: 'worksheets/sheet1.xml')
        if not n.startswith('xl/worksheets/') or n == 'xl/worksheets/sheet1.xml'])
    # Part names are equal only when equal after ASCII case folding: these entries are other
    # parts, and the worksheet the relationship names is missing.
    sheet1 = 'xl/worksheets/sheet1.xml'
    books['entry-name-kelvin-sign'] = zip_bytes([
        (n.replace('worksheets', 'wor\u212asheets') if n == sheet1 else n, d) for n, d in base])
    books['entry-name-byte-order-mark'] = zip_bytes([
        ('\ufeff' + n if n == sheet1 else n, d) for n, d in base])
    books['local-header-size-differs'] = patched(
        base_zip, sheet1, local={22: ('<I', len(dict(base)[sheet1]) + 1)})

    books['doctype-internal-entity'] = zip_bytes(replace_part(
        base, 'xl/workbook.xml',
        b'<?xml version="1.0"?><!DOCTYPE workbook [<!ENTITY n "\xe5\x95\x86\xe5\x93\x81">]>'
        b'<workbook xmlns="' + MAIN.encode() + b'" xmlns:r="' + REL.encode() + b'"><sheets>'
        b'<sheet name="&n;" sheetId="1" r:id="rId1"/></sheets></workbook>'))
    lol = ''.join('<!ENTITY l%d "%s">' % (i, ('&l%d;' % (i - 1)) * 10) for i in range(1, 10))
    books['billion-laughs'] = zip_bytes(package_parts(
        [Sheet('商品マスタ', '<sheetData/>')],
        ['<si><t>&l9;</t></si>']) and replace_part(
        simple_parts(strings=['<si><t>x</t></si>']), 'xl/sharedStrings.xml',
        ('<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY l0 "lol">%s]><sst xmlns="%s">'
         '<si><t>&l9;</t></si></sst>' % (lol, MAIN)).encode()))
    # With no worksheet no table waits for the shared strings: they must be read at opening.
    books['doctype-in-strings-without-worksheets'] = zip_bytes(replace_part(
        package_parts([], ['<si><t>x</t></si>']), 'xl/sharedStrings.xml',
        ('<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY a "x">]><sst xmlns="%s"><si><t>&a;</t>'
         '</si></sst>' % MAIN).encode()))
    books['external-entity'] = zip_bytes(replace_part(
        base, 'xl/worksheets/sheet1.xml',
        ('<?xml version="1.0"?><!DOCTYPE worksheet SYSTEM "file:///etc/passwd">'
         '<worksheet xmlns="%s"><sheetData/></worksheet>' % MAIN).encode()))
    books['parameter-entity'] = zip_bytes(replace_part(
        base, '_rels/.rels',
        ('<?xml version="1.0"?><!DOCTYPE r [<!ENTITY %% p SYSTEM "http://localhost/x">%%p;]>'
         '<Relationships xmlns="%s"/>' % PKG).encode()))
    books['deep-nesting'] = zip_bytes(simple_parts(
        '<sheetData>%s</sheetData><extLst>%s%s</extLst>'
        % (MASTER_ROWS, '<ext>' * 5000, '</ext>' * 5000)))
    books['relationship-outside'] = zip_bytes(package_parts(
        [Sheet('商品マスタ', '<sheetData/>')], rel_target=lambda i, t: '../../../outside.xml'))
    books['relationship-uri'] = zip_bytes(package_parts(
        [Sheet('商品マスタ', '<sheetData/>')],
        rel_target=lambda i, t: 'http://localhost/sheet.xml'))
    books['relationship-missing-part'] = zip_bytes(package_parts(
        [Sheet('商品マスタ', '<sheetData/>')], rel_target=lambda i, t: 'worksheets/none.xml'))
    books['relationship-external'] = zip_bytes([
        (n, d.replace(b'Target="worksheets/sheet1.xml"',
                      b'Target="file:///etc/passwd" TargetMode="External"'))
        for n, d in base])
    books['no-workbook'] = zip_bytes(replace_part(
        base, '_rels/.rels', ('<Relationships xmlns="%s"/>' % PKG).encode()))
    books['main-part-not-a-workbook'] = zip_bytes(replace_part(
        base, 'xl/workbook.xml',
        b'<document xmlns="http://schemas.openxmlformats.org/wordprocessingml/2006/main"/>'))
    books['shared-string-out-of-range'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1" t="s"><v>1</v></c></row></sheetData>',
        ['<si><t>only</t></si>']))
    books['shared-string-without-table'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row></sheetData>', None))
    books['row-beyond-limit'] = zip_bytes(simple_parts(
        '<sheetData><row r="1048577"><c><v>1</v></c></row></sheetData>'))
    books['cell-beyond-last-row'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1048577"><v>1</v></c></row></sheetData>'))
    books['cell-beyond-last-column'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="XFE1"><v>1</v></c></row></sheetData>'))
    books['cell-after-last-column'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="XFD1"><v>1</v></c><c><v>2</v></c></row></sheetData>'))
    books['row-after-last-row'] = zip_bytes(simple_parts(
        '<sheetData><row r="1048576"><c><v>1</v></c></row><row><c><v>2</v></c></row>'
        '</sheetData>'))
    books['cell-reference-garbage'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="1A"><v>1</v></c></row></sheetData>'))
    books['number-not-a-number'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1"><v>12abc</v></c></row></sheetData>'))
    books['unknown-cell-type'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1" t="x"><v>1</v></c></row></sheetData>'))
    books['sheet-names-alike'] = zip_bytes(package_parts(
        [Sheet('Sheet', '<sheetData/>'), Sheet('sHEET', '<sheetData/>')]))
    books['sheet-names-alike-wide'] = zip_bytes(package_parts(
        [Sheet('在庫ＡＢ', '<sheetData/>'), Sheet('在庫ａｂ', '<sheetData/>')]))
    books['duplicate-entry'] = zip_bytes(base + [('xl/worksheets/sheet1.xml', b'<x/>')])
    books['duplicate-entry-case'] = zip_bytes(base + [('XL/Worksheets/Sheet1.xml', b'<x/>')])
    books['not-xml'] = zip_bytes(replace_part(base, 'xl/worksheets/sheet1.xml',
                                              b'<worksheet><sheetData></worksheet>'))
    books['worksheet-not-a-worksheet'] = zip_bytes(replace_part(
        base, 'xl/worksheets/sheet1.xml', ('<chartsheet xmlns="%s"/>' % MAIN).encode()))
    books['unknown-sheet-kind'] = zip_bytes([
        (n, d.replace(b'/worksheet"', b'/slide"')) for n, d in base])

    sheet_name = 'xl/worksheets/sheet1.xml'
    sheet_size = len(dict(base)[sheet_name])
    # Local header: 18 compressed size, 22 size; central record: 20, 24 and 42 (offset).
    books['inflates-beyond-declared'] = patched(
        base_zip, sheet_name, {24: ('<I', sheet_size // 2)}, {22: ('<I', sheet_size // 2)})
    books['inflates-short-of-declared'] = patched(
        base_zip, sheet_name, {24: ('<I', sheet_size * 2)}, {22: ('<I', sheet_size * 2)})
    books['declares-beyond-deflate'] = patched(
        base_zip, sheet_name, {24: ('<I', 0xFFFFFFF0)}, {22: ('<I', 0xFFFFFFF0)})
    sheet_crc = zlib.crc32(dict(base)[sheet_name])
    books['checksum-wrong'] = patched(
        base_zip, sheet_name, {16: ('<I', sheet_crc ^ 1)}, {14: ('<I', sheet_crc ^ 1)})
    books['deflate-invalid-block'] = with_first_stored_byte(base_zip, sheet_name, 0x07)
    books['central-size-lies'] = patched(base_zip, sheet_name, {20: ('<I', 7)})
    books['central-offset-lies'] = patched(base_zip, sheet_name, {42: ('<I', 3)})
    books['central-offset-beyond-file'] = patched(base_zip, sheet_name,
                                                  {42: ('<I', len(base_zip) + 1000)})
    end, start = central_directory_offset(base_zip)
    lying_end = bytearray(base_zip)
    struct.pack_into('<I', lying_end, end + 16, start + 5)
    books['end-record-lies'] = bytes(lying_end)
    books['truncated'] = base_zip[:len(base_zip) // 2]
    books['overlapping-entries'] = overlapping_bomb()
    books['encrypted'] = make_workbooks.write_compound(
        [('EncryptionInfo', b'\x04\x00\x04\x00\x40\x00\x00\x00' + b'\0' * 200),
         ('EncryptedPackage', struct.pack('<Q', len(base_zip)) + os.urandom(len(base_zip)))])

    # A U+FEFF starting a text or a name is a character of it, not a byte order mark.
    books['bom-texts'] = zip_bytes(package_parts(
        [Sheet('\ufeff在庫マスタ',
               '<sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>\ufeff○</t></is></c>'
               '<c r="B1" t="s"><v>0</v></c><c r="C1" t="str"><v>\ufeffP1</v></c></row>'
               '</sheetData>')], ['<si><t>\ufeff</t></si>']))
    # Millions of empty items (each five bytes, deflated a thousandfold) and a count that
    # claims far more: kept in a few bytes an item.
    books['shared-strings-millions-empty'] = zip_bytes(replace_part(
        simple_parts('<sheetData><row r="1"><c r="A1" t="s"><v>38999999</v></c></row>'
                     '</sheetData>'), 'xl/sharedStrings.xml',
        ('<sst xmlns="%s" uniqueCount="1000000000000">%s</sst>'
         % (MAIN, '<si/>' * 39000000)).encode()))
    books['shared-strings-count-lies'] = zip_bytes(replace_part(
        simple_parts('<sheetData><row r="1"><c r="A1" t="s"><v>1</v></c></row></sheetData>'),
        'xl/sharedStrings.xml',
        ('<sst xmlns="%s" count="1000000000000" uniqueCount="1000000000000">'
         '<si><t>a</t></si><si><t>b</t></si></sst>' % MAIN).encode()))
    # One cell stored millions of times after a row going back: one value kept.
    books['worksheet-repeats-one-cell'] = zip_bytes(simple_parts(
        '<sheetData><row r="2"><c r="A2"><v>2</v></c></row><row r="1">%s</row></sheetData>'
        % ('<c r="A1"><v>1</v></c>' * 30000000)))
    # The later copy of a repeated cell wins, an empty one too, for every kind of cell.
    books['repeated-cell-later-empty'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1"><v>1</v></c><c r="B1" t="s"><v>0</v></c>'
        '<c r="C1" t="inlineStr"><is><t>x</t></is></c><c r="D1" t="b"><v>1</v></c>'
        '<c r="E1"><v>5</v></c><c r="A1"/><c r="B1" t="s"/><c r="C1" t="inlineStr"/>'
        '<c r="D1" s="1"/><c r="E1"><v>6</v></c></row>'
        '<row r="3"><c r="A3"><v>3</v></c></row><row r="2"><c r="A2"><v>2</v></c></row>'
        '<row r="3"><c r="A3"/><c r="B3"><v>4</v></c></row></sheetData>'))
    # Rows the reader would pass over are damage: outside the sheet data, or cells in a row
    # of a foreign namespace.
    books['row-outside-sheet-data'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1"><v>1</v></c></row></sheetData>'
        '<row r="2"><c r="A2"><v>2</v></c></row>'))
    books['row-in-foreign-namespace'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1"><v>1</v></c></row>'
        '<f:row xmlns:f="urn:foreign" r="2"><c r="A2"><v>2</v></c></f:row></sheetData>'))
    books['date-seconds-nan'] = zip_bytes(simple_parts(
        '<sheetData><row r="1"><c r="A1" t="d"><v>2024-04-01T12:00:nan</v></c></row>'
        '</sheetData>'))
    # Rows stored 1, 2, 4, 3 come out in sheet order.
    books['rows-out-of-order'] = zip_bytes(package_parts([Sheet(
        '在庫マスタ',
        '<sheetData>%s</sheetData>' % ''.join(
            '<row r="%d"><c r="A%d" t="inlineStr"><is><t>P%d</t></is></c><c r="B%d"><v>%d</v>'
            '</c></row>' % (r, r, r, r, r * 10) for r in (1, 2, 4, 3)))]))

    # Rows enough for the reader to hand many out before the part ends, then what stops its
    # reading as it goes: a row going back, XML only expat reads, damage, a shared string the
    # table lacks. The rows handed out are taken back; what the part holds is read as ever.
    def many_rows(tail, quantity=3, method=zipfile.ZIP_DEFLATED):
        rows = ''.join('<row r="%d"><c r="B%d" t="inlineStr"><is><t>S%d</t></is></c>'
                       '<c r="G%d" t="inlineStr"><is><t>P%d</t></is></c><c r="I%d"><v>%d</v>'
                       '</c></row>' % (r, r, r, r, r, r, quantity if r == 40 else r % 7 + 1)
                       for r in range(2, 30002))
        return zip_bytes(simple_parts('<sheetData>%s%s%s</sheetData>'
                                      % (MASTER_ROWS, rows, tail)), method)
    books['many-rows-then-row-back'] = many_rows(
        '<row r="5"><c r="B5" t="inlineStr"><is><t>X5</t></is></c></row>')
    books['many-rows-then-comment'] = many_rows('<!-- a note -->')
    # The same stored, not deflated: megabytes of part, which a sheet read as it comes from a
    # file lets go of as it reads it, and reads from the file again where it must read it whole.
    books['many-rows-stored-then-row-back'] = many_rows(
        '<row r="5"><c r="B5" t="inlineStr"><is><t>X5</t></is></c></row>',
        method=zipfile.ZIP_STORED)
    books['many-rows-stored-then-comment'] = many_rows('<!-- a note -->',
                                                       method=zipfile.ZIP_STORED)
    books['many-rows-then-unknown-type'] = many_rows(
        '<row r="30002"><c r="A30002" t="q"><v>1</v></c></row>')
    books['many-rows-then-shared-string-out-of-range'] = many_rows(
        '<row r="30002"><c r="A30002" t="s"><v>999</v></c></row>')
    # A quantity beyond 32 bits early on, damage at the end: the damage is told.
    books['many-rows-quantity-beyond-then-damage'] = many_rows(
        '<row r="30002"><c r="A30002" t="q"><v>1</v></c></row>', quantity=99999999999)

    for name, data in books.items():
        with open(os.path.join(out, name + '.xlsx'), 'wb') as f:
            f.write(data)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    if len(args) != 1:
        sys.exit(__doc__)
    folder = os.path.join(args[0], 'xlsx')
    os.makedirs(folder, exist_ok=True)
    cells_books(folder)
    if '--small' not in sys.argv:
        masters_twin(folder)
        hostile_books(folder)


if __name__ == '__main__':
    main()
