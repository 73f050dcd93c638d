"""A small writer of flat-ODS spreadsheets, enough for the workbook fixtures.

A sheet is a list of rows; a row is a list of cells or a Repeat of one. A cell is
None (empty), a str, an int or float, a bool, a datetime.date, a Formula, a Merge
(a cell spanning columns) or a Matrix (an array formula spanning rows).
"""
import datetime
from xml.sax.saxutils import escape, quoteattr

NAMESPACES = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "draw": "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "xlink": "http://www.w3.org/1999/xlink",
    "number": "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "chart": "urn:oasis:names:tc:opendocument:xmlns:chart:1.0",
    "of": "urn:oasis:names:tc:opendocument:xmlns:of:1.2",
}

STYLES = """<office:automatic-styles>
<number:date-style style:name="Ndate"><number:year number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:day number:style="long"/></number:date-style>
<number:boolean-style style:name="Nbool"><number:boolean/></number:boolean-style>
<style:style style:name="date" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="Ndate"/>
<style:style style:name="bool" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="Nbool"/>
<style:style style:name="title" style:family="table-cell" style:parent-style-name="Default"><style:text-properties fo:font-size="14pt" fo:font-weight="bold"/></style:style>
<style:style style:name="head" style:family="table-cell" style:parent-style-name="Default"><style:table-cell-properties fo:background-color="#ccffcc"/><style:text-properties fo:font-weight="bold"/></style:style>
{columns}</office:automatic-styles>
"""


class Formula:
    """A formula in OpenFormula syntax, without the "of:" prefix (e.g. "=2*3").

    style "date" or "bool" gives the result that number format."""

    def __init__(self, text, style=None):
        self.text = text
        self.style = style


class Merge:
    """A cell that spans `cols` columns (and `rows` rows); in a row list it is followed
    by cols - 1 None entries, so that every entry stands in its own column."""

    def __init__(self, value, cols, rows=1, style=None):
        self.value, self.cols, self.rows, self.style = value, cols, rows, style


class Matrix:
    """An array formula whose result fills `rows` rows of one column."""

    def __init__(self, text, rows):
        self.text, self.rows = text, rows


class Styled:
    """Any plain value with a cell style ("title", "head", "date", "bool")."""

    def __init__(self, value, style):
        self.value, self.style = value, style


class Repeat:
    """One row repeated `count` times (constants only: formulas cannot be repeated)."""

    def __init__(self, row, count):
        self.row, self.count = row, count


class Sheet:
    def __init__(self, name, rows, widths=None, hidden=False, shapes="", named=""):
        self.name, self.rows, self.widths = name, rows, widths or []
        self.hidden, self.shapes, self.named = hidden, shapes, named


def _value_attrs(value, style=None):
    """Attributes and content of a cell holding a plain value."""
    if value is None:
        return "", ""
    if isinstance(value, bool):
        return (f' table:style-name="{style or "bool"}" office:value-type="boolean"'
                f' office:boolean-value="{"true" if value else "false"}"'), ""
    if isinstance(value, (int, float)):
        return f' office:value-type="float" office:value="{value!r}"', ""
    if isinstance(value, datetime.date):
        return (f' table:style-name="{style or "date"}" office:value-type="date"'
                f' office:date-value="{value.isoformat()}"'), ""
    if isinstance(value, str):
        # Runs of spaces need text:s in ODF, or the reader collapses them.
        out, i = [], 0
        while i < len(value):
            j = i
            while j < len(value) and value[j] == " ":
                j += 1
            if j - i > 1 or (j - i == 1 and (i == 0 or j == len(value))):
                out.append(f'<text:s text:c="{j - i}"/>')
                i = j
            elif j > i:
                out.append(" ")
                i = j
            else:
                out.append(escape(value[i]))
                i += 1
        return ' office:value-type="string"', "<text:p>" + "".join(out) + "</text:p>"
    raise TypeError(value)


def _cell(c):
    if isinstance(c, Styled):
        attrs, body = _value_attrs(c.value, c.style)
        if f'table:style-name="{c.style}"' not in attrs:
            attrs = f' table:style-name="{c.style}"' + attrs
        return f"<table:table-cell{attrs}>{body}</table:table-cell>", 1
    if isinstance(c, Formula):
        st = f' table:style-name="{c.style}"' if c.style else ""
        return f"<table:table-cell{st} table:formula={quoteattr('of:' + c.text)}/>", 1
    if isinstance(c, Matrix):
        return (f"<table:table-cell table:formula={quoteattr('of:' + c.text)}"
                f' table:number-matrix-columns-spanned="1"'
                f' table:number-matrix-rows-spanned="{c.rows}"/>'), 1
    if isinstance(c, Merge):
        attrs, body = _value_attrs(c.value)
        st = f' table:style-name="{c.style}"' if c.style else ""
        covered = ("<table:covered-table-cell"
                   + (f' table:number-columns-repeated="{c.cols - 1}"' if c.cols > 2 else "")
                   + "/>") if c.cols > 1 else ""
        return (f'<table:table-cell{st} table:number-columns-spanned="{c.cols}"'
                f' table:number-rows-spanned="{c.rows}"{attrs}>{body}</table:table-cell>'
                + covered), c.cols
    attrs, body = _value_attrs(c)
    if not body:
        return f"<table:table-cell{attrs}/>", 1
    return f"<table:table-cell{attrs}>{body}</table:table-cell>", 1


def _row(cells, repeat=1):
    # Trailing empty cells are left out; a row with no cell still needs one element.
    cells = list(cells)
    while cells and cells[-1] is None:
        cells.pop()
    rep = f' table:number-rows-repeated="{repeat}"' if repeat > 1 else ""
    parts, i = [], 0
    while i < len(cells):
        xml, width = _cell(cells[i])
        # A merged cell covers the list entries after it, which keep the columns aligned.
        assert all(c is None for c in cells[i + 1:i + width]), cells
        parts.append(xml)
        i += width
    parts = parts or ["<table:table-cell/>"]
    return f"<table:table-row{rep}>" + "".join(parts) + "</table:table-row>"


def write(path, sheets, named="", database_ranges=""):
    """Writes the sheets to `path`. named/database_ranges: raw XML of
    table:named-expressions / table:database-ranges content."""
    ns = " ".join(f'xmlns:{k}="{v}"' for k, v in NAMESPACES.items())
    colstyles = []
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           f'<office:document {ns} office:version="1.2"'
           ' office:mimetype="application/vnd.oasis.opendocument.spreadsheet">']
    body = []
    for si, sh in enumerate(sheets):
        tstyle = ""
        if sh.hidden:
            colstyles.append(f'<style:style style:name="ta{si}" style:family="table">'
                             '<style:table-properties table:display="false"/></style:style>')
            tstyle = f' table:style-name="ta{si}"'
        body.append(f"<table:table table:name={quoteattr(sh.name)}{tstyle}>")
        if sh.shapes:
            body.append("<table:shapes>" + sh.shapes + "</table:shapes>")
        for ci, w in enumerate(sh.widths):
            name = f"co{si}_{ci}"
            colstyles.append(f'<style:style style:name="{name}" style:family="table-column">'
                             f'<style:table-column-properties style:column-width="{w}"/>'
                             "</style:style>")
            body.append(f'<table:table-column table:style-name="{name}"/>')
        for r in sh.rows:
            if isinstance(r, Repeat):
                body.append(_row(r.row, r.count))
            else:
                body.append(_row(r))
        if sh.named:
            body.append("<table:named-expressions>" + sh.named + "</table:named-expressions>")
        body.append("</table:table>")
    if named:
        body.append("<table:named-expressions>" + named + "</table:named-expressions>")
    if database_ranges:
        body.append("<table:database-ranges>" + database_ranges + "</table:database-ranges>")
    out.append(STYLES.format(columns="\n".join(colstyles) + ("\n" if colstyles else "")))
    out.append("<office:body><office:spreadsheet>")
    out.extend(body)
    out.append("</office:spreadsheet></office:body></office:document>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
