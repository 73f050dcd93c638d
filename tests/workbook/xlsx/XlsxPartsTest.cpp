// The small rules of the SpreadsheetML reader, case by case: cell references and their
// limits, part names and the zip headers that place them, relationship targets, the _xHHHH_
// escapes, ISO dates, the packing of a sheet's values and the sharing of texts that repeat down a
// column.

#include "workbook/Workbook.h"
#include "workbook/xlsx/CellReference.h"
#include "workbook/xlsx/RecentTexts.h"
#include "workbook/xlsx/Relationships.h"
#include "workbook/xlsx/RichText.h"
#include "workbook/xlsx/SerialDate.h"
#include "workbook/xlsx/SharedStrings.h"
#include "workbook/xlsx/StoredArchive.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/XlsxSheetCells.h"
#include "workbook/xlsx/ZipArchive.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::xlsx;
using namespace setzaiko::testing;

namespace {

TEST(XlsxParts, CellReferences)
{
    const struct
    {
        const char* text;
        int row, column; // 0, 0: refused
    } cases[] = {
        {"A1", 1, 1},     {"B12", 12, 2},     {"Z9", 9, 26},
        {"AA1", 1, 27},   {"AZ3", 3, 52},     {"XFD1048576", 1048576, 16384},
        {"XFE1", 0, 0},   {"A1048577", 0, 0}, {"A0", 0, 0},
        {"a1", 0, 0},     {"1A", 0, 0},       {"A", 0, 0},
        {"", 0, 0},       {"$A$1", 0, 0},     {"A1 ", 0, 0},
        {"AAAA1", 0, 0},  {"A01", 1, 1},      {"A99999999", 0, 0},
        {"ZZZ1", 0, 0},   {"A-1", 0, 0},      {"A01048576", 0, 0},
        {"ABCDE1", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto position = parseCellReference(c.text);
        if (c.row == 0) {
            EXPECT_FALSE(position.has_value());
        } else {
            ASSERT_TRUE(position.has_value());
            EXPECT_EQ(position->row, c.row);
            EXPECT_EQ(position->column, c.column);
        }
    }
}

// The entry's bytes through the archive; a refusal as its text.
std::string readEntry(const QByteArray& archiveBytes, const QString& name)
{
    try {
        ZipArchive archive(archiveBytes);
        const auto entry = archive.find(name);
        if (!entry) {
            return "missing";
        }
        ZipEntryReader reader(archive, *entry);
        std::string read(64, '\0');
        read.resize(reader.read(read.data(), read.size()));
        char more = 0;
        if (reader.read(&more, 1) != 0) {
            return "longer";
        }
        return read;
    } catch (const WorkbookError& error) {
        return std::string("refused: ") + error.what();
    }
}

// Part names are equal when equal after ASCII case folding, and only then.
TEST(XlsxParts, PartNamesFoldAsciiCaseOnly)
{
    const struct
    {
        const char* stored;
        QString asked;
        bool found;
    } cases[] = {
        {"xl/worksheets/sheet1.xml", u"XL/WorkSheets/SHEET1.xml"_s, true},
        {"xl/äb.xml", u"xl/äb.xml"_s, true},
        {"xl/Äb.xml", u"xl/äb.xml"_s, false},
        {"xl/wor\xE2\x84\xAA"
         "sheets/s.xml",
         u"xl/worksheets/s.xml"_s, false}, // KELVIN SIGN
        {"\xEF\xBB\xBF"
         "xl/s.xml",
         u"xl/s.xml"_s, false},                     // U+FEFF
        {"xl/ſheet.xml", u"xl/sheet.xml"_s, false}, // LONG S
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(readEntry(storedArchiveNamed("<x/>", c.stored), c.asked),
                  c.found ? "<x/>" : "missing");
    }
}

// A local header may differ from the central directory in what no reader uses, never in what
// places or checks the data.
TEST(XlsxParts, LocalHeadersAgreeOnWhatTheReaderUses)
{
    const struct
    {
        const char* what;
        int offset, width;
        std::uint32_t value;
        const char* refusal; // nullptr: read as the entry is
    } cases[] = {
        {"time one step later", 10, 2, 1, nullptr},
        {"another date", 12, 2, 0x21, nullptr},
        {"a later version needed", 4, 2, 45, nullptr},
        {"a descriptor flag beside its sizes", 6, 2, 0x08, nullptr},
        {"another checksum", 14, 4, 0x12345678, "local header disagrees"},
        {"a longer stored size", 18, 4, 5, "local header disagrees"},
        {"a longer size", 22, 4, 5, "local header disagrees"},
        {"deflated", 8, 2, 8, "local header disagrees"},
        {"encrypted", 6, 2, 0x01, "local header disagrees"},
        {"another name", 30, 1, 'q', "names another entry"},
        {"no signature", 0, 1, 'Q', "no local header"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = storedArchive("<x/>");
        for (int i = 0; i < c.width; ++i) {
            bytes[c.offset + i] = static_cast<char>((c.value >> (8 * i)) & 0xFF);
        }
        const std::string read = readEntry(bytes, u"p.xml"_s);
        if (c.refusal) {
            EXPECT_NE(read.find(c.refusal), std::string::npos) << read;
        } else {
            EXPECT_EQ(read, "<x/>");
        }
    }
}

TEST(XlsxParts, RelationshipTargets)
{
    const struct
    {
        QString source, target, part; // part empty: refused
    } cases[] = {
        {u""_s, u"xl/workbook.xml"_s, u"xl/workbook.xml"_s},
        {u""_s, u"/xl/workbook.xml"_s, u"xl/workbook.xml"_s},
        {u"xl/workbook.xml"_s, u"worksheets/sheet1.xml"_s, u"xl/worksheets/sheet1.xml"_s},
        {u"xl/workbook.xml"_s, u"/xl/sharedStrings.xml"_s, u"xl/sharedStrings.xml"_s},
        {u"xl/workbook.xml"_s, u"./worksheets/../worksheets/s.xml"_s, u"xl/worksheets/s.xml"_s},
        {u"xl/workbook.xml"_s, u"../customXml/item.xml"_s, u"customXml/item.xml"_s},
        {u"xl/workbook.xml"_s, u"worksheets/sheet%201.xml"_s, u"xl/worksheets/sheet 1.xml"_s},
        {u"xl/workbook.xml"_s, u"../../outside.xml"_s, QString()},
        {u""_s, u"../workbook.xml"_s, QString()},
        {u"xl/workbook.xml"_s, u"http://localhost/sheet.xml"_s, QString()},
        {u"xl/workbook.xml"_s, u"file:///etc/passwd"_s, QString()},
        {u"xl/workbook.xml"_s, u"//host/share/sheet.xml"_s, QString()},
        {u""_s, u"/"_s, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.source + u" -> "_s + c.target).toStdString());
        if (c.part.isEmpty()) {
            EXPECT_THROW(resolveTarget(c.source, c.target), WorkbookError);
        } else {
            EXPECT_EQ(resolveTarget(c.source, c.target), c.part);
        }
    }
}

TEST(XlsxParts, EscapesDecodeLeftToRight)
{
    const struct
    {
        const char* encoded;
        QString decoded;
    } cases[] = {
        {"plain", u"plain"_s},
        {"_x0041_", u"A"_s},
        {"_x000D__x000A_", u"\r\n"_s},
        {"_x005F_x0041_", u"_x0041_"_s},
        {"_x005F__x0041_", u"_A"_s},
        {"a_x00e9_b_x00E9_", u"aébé"_s},
        {"_x3042_", u"あ"_s},
        {"_xD83D__xDE00_", u"😀"_s},
        {"_x41_", u"_x41_"_s},
        {"_xGGGG_", u"_xGGGG_"_s},
        {"_x0041", u"_x0041"_s},
        {"__x0041_", u"_A"_s},
        {"漢字_x0009_", u"漢字\t"_s},
        {"caf_x00ff_", u"caf\u00ff"_s},
        {"caf_x00FF_", u"caf\u00ff"_s},
        // A U+FEFF at the start of a text, or after an escape, is a character of it.
        {"\xEF\xBB\xBF○", u"\uFEFF○"_s},
        {"\xEF\xBB\xBF", u"\uFEFF"_s},
        {"_x0041_\xEF\xBB\xBF"
         "B",
         u"A\uFEFFB"_s},
        // Texts without escapes, each kept at its exact size however its bytes decode.
        {"", QString()},
        {"\xF0\x9F\x98\x80 \xE3\x81\x82", u"😀 あ"_s},
        {"a\xFF\xC3", QString::fromUtf8("a\xFF\xC3")},
        {"\xE3\x81", QString::fromUtf8("\xE3\x81")},
        {"\xC3\xA9\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\u00E9\uFFFF\U0010FFFF"_s},
        // Overlong forms, a surrogate, beyond U+10FFFF.
        {"\xC0\x80\xE0\x9F\xBF", QString::fromUtf8("\xC0\x80\xE0\x9F\xBF")},
        {"\xED\xA0\x80\xF0\x8F\xBF\xBF", QString::fromUtf8("\xED\xA0\x80\xF0\x8F\xBF\xBF")},
        {"\xF4\x90\x80\x80", QString::fromUtf8("\xF4\x90\x80\x80")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoded);
        const QString decoded = decodeEscapes(c.encoded);
        EXPECT_EQ(decoded, c.decoded);
        if (std::string_view(c.encoded).find("_x") == std::string_view::npos) {
            EXPECT_EQ(decoded.capacity(), decoded.size());
        }
    }
}

TEST(XlsxParts, IsoDatesBecomeSerials)
{
    const struct
    {
        const char* text;
        bool dates1904;
        double serial; // -1: refused
    } cases[] = {
        {"2024-04-01", false, 45383},
        {"2024-04-01T12:00:00", false, 45383.5},
        {"2024-04-01T06:00:00Z", false, 45383.25},
        {"2024-04-01T00:00:30.5", false, 45383 + 30.5 / 86400},
        {"1900-01-01", false, 1},
        {"1900-02-28", false, 59},
        {"1900-03-01", false, 61},
        {"1904-01-01", true, 0},
        {"2024-04-01", true, 45383 - 1462},
        {"2024-02-30", false, -1},
        {"2023-02-29", false, -1},
        {"2024-13-01", false, -1},
        {"2024-4-1", false, -1},
        {"2024-04-01T24:00:00", false, -1},
        {"2024-04-01T12", false, -1},
        {"2024-04-01 12:00:00", false, -1},
        {"2024-04-01T12:00:nan", false, -1},
        {"2024-04-01T12:00:inf", false, -1},
        {"2024-04-01T12:00:1e1", false, -1},
        {"2024-04-01T12:00:-0", false, -1},
        {"2024-04-01T12:00:05.", false, -1},
        {"2024-04-01T12:00:0x1", false, -1},
        {"2024-04-01T12:00:5", false, -1},
        {"", false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto serial = serialFromIsoDate(c.text, c.dates1904);
        if (c.serial < 0) {
            EXPECT_FALSE(serial.has_value());
        } else {
            ASSERT_TRUE(serial.has_value());
            EXPECT_DOUBLE_EQ(*serial, c.serial);
        }
    }
}

// Values come back from the packing as they went in, at the extremes of every field, and once
// finished by row and column, one value per position, where they were out of order.
TEST(XlsxParts, PackedValuesComeBackAsTheyWentIn)
{
    using Kind = SheetValue::Kind;
    const std::string longText(70000, 'x');
    const std::string withNul("a\0b", 3);
    const struct
    {
        std::uint32_t row;
        std::uint16_t column;
        Kind kind;
        double number;
        std::uint32_t index;
        std::string_view text;
    } cases[] = {
        {0, 0, Kind::Number, -0.0, 0, {}},
        {0, 1, Kind::SharedText, 0, 4294967295u, {}},
        {0, 2, Kind::Text, 0, 0, withNul},
        {0, 16383, Kind::EscapedText, 0, 0, "_x0041_"},
        {1048575, 16383, Kind::Number, 1.5e308, 0, {}},
        {1048575, 0, Kind::Text, 0, 0, longText},
        {1048575, 1, Kind::Text, 0, 0, ""},
        {7, 3, Kind::SharedText, 0, 128, {}},
        {7, 3, Kind::Number, 4.9e-324, 0, {}},
        {2, 5, Kind::Number, 42, 0, {}},
    };
    WorksheetCells cells;
    for (const auto& c : cases) {
        SheetValue value;
        value.row = c.row;
        value.column = c.column;
        value.kind = c.kind;
        value.number = c.number;
        value.sharedIndex = c.index;
        value.text = c.text;
        cells.append(value);
    }
    EXPECT_EQ(cells.valueCount(), std::size(cases));
    const auto expectCase = [](const SheetValue& value, const auto& c) {
        EXPECT_EQ(value.row, c.row);
        EXPECT_EQ(value.column, c.column);
        ASSERT_EQ(value.kind, c.kind);
        if (c.kind == Kind::Number) {
            EXPECT_EQ(std::signbit(value.number), std::signbit(c.number));
            EXPECT_EQ(value.number, c.number);
        } else if (c.kind == Kind::SharedText) {
            EXPECT_EQ(value.sharedIndex, c.index);
        } else {
            EXPECT_EQ(value.text, c.text);
        }
    };
    WorksheetCells::Reader reader(cells);
    SheetValue value;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row * 100000 + c.column);
        ASSERT_TRUE(reader.next(value));
        expectCase(value, c);
    }
    EXPECT_FALSE(reader.next(value));

    // Finished: by row and column, the later of the two values of row 7, column 3 kept.
    cells.finish();
    WorksheetCells::Reader sorted(cells);
    for (const std::size_t i : {0, 1, 2, 3, 9, 8, 5, 6, 4}) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(sorted.next(value));
        expectCase(value, cases[i]);
    }
    EXPECT_FALSE(sorted.next(value));
}

// A value referring beyond the shared string table is damage, unless a later cell at its
// position replaced it.
TEST(XlsxParts, SharedStringIndicesBeyondTheTable)
{
    const struct
    {
        bool replaced;
        std::size_t tableSize;
        bool damaged;
    } cases[] = {{false, 6, false}, {false, 5, true}, {true, 5, false}, {true, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tableSize + (c.replaced ? 100 : 0));
        WorksheetCells cells;
        SheetValue value;
        value.kind = SheetValue::Kind::SharedText;
        value.sharedIndex = 5;
        cells.append(value);
        if (c.replaced) {
            value.kind = SheetValue::Kind::Number;
            cells.append(value);
        }
        cells.finish();
        if (c.damaged) {
            EXPECT_THROW(checkSharedStringIndices(cells, c.tableSize), WorkbookError);
        } else {
            EXPECT_NO_THROW(checkSharedStringIndices(cells, c.tableSize));
        }
    }
}

// The memory of values read is given back as a reader goes, and every value still comes back
// as it went in: read in order, and (where nothing is given back) put in order at the end.
TEST(XlsxParts, PackedValuesReadOnceComeBackWhileTheirMemoryGoes)
{
    for (const bool inOrder : {true, false}) {
        SCOPED_TRACE(inOrder ? "in order" : "out of order");
        constexpr std::uint32_t rows = 200000; // ten megabytes of values and more
        WorksheetCells cells;
        SheetValue value;
        for (std::uint32_t row = 0; row < rows; ++row) {
            for (std::uint16_t column = 0; column < 5; ++column) {
                value.row = inOrder ? row : rows - 1 - row;
                value.column = column;
                value.kind = SheetValue::Kind::Number;
                value.number = value.row * 8.0 + column;
                cells.append(value);
            }
        }
        cells.finish();
        WorksheetCells::Reader reader(cells);
        std::uint64_t wrong = 0;
        for (std::uint32_t i = 0; reader.next(value); ++i) {
            wrong += value.row != i / 5 || value.column != i % 5 ||
                     value.number != value.row * 8.0 + value.column;
            if (i % 1000 == 0) {
                cells.releaseReadValues(reader.offset());
            }
        }
        EXPECT_EQ(wrong, 0u);
    }
}

// A sheet's cells hand out every text whole while the memory of the values read goes, the
// value being handed out when it goes included: here one long enough to lie across pages. Read
// as they come, the values' memory is used again for later ones.
TEST(XlsxParts, SheetCellsHandOutTextsWholeWhileTheirMemoryGoes)
{
    constexpr int rows = 65536; // enough values, and bytes, for memory to be given back
    std::string part = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                       "main\"><sheetData>";
    const auto textOf = [](int row) {
        return std::string(row == rows ? 9000 : 64, static_cast<char>('a' + row % 26));
    };
    for (int row = 1; row <= rows; ++row) {
        part += "<row><c t=\"inlineStr\"><is><t>" + textOf(row) + "</t></is></c></row>";
    }
    part += "</sheetData></worksheet>";
    const QByteArray bytes = storedArchive(part);
    const auto entry = ZipArchive(bytes).find(u"p.xml"_s);
    ASSERT_TRUE(entry);
    for (const RowRelease release : {RowRelease::WholeSheet, RowRelease::AsRead}) {
        XlsxSheetCells cells(bytes, *entry, sharedStringsReady({}), false, 1, release);
        const SheetLayout layout = cells.start();
        EXPECT_EQ(layout.known, release == RowRelease::WholeSheet);
        StreamedCell cell;
        int wrong = 0;
        for (int row = 1; row <= rows; ++row) {
            ASSERT_TRUE(cells.next(cell));
            wrong += cell.value.textView() != QString::fromLatin1(textOf(row));
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_FALSE(cells.next(cell));
        EXPECT_EQ(cells.layoutSoFar().rows, rows);
        EXPECT_EQ(cells.restarts(), 0);
    }
}

// A sheet read as it comes lets go of its part's bytes as it reads them, where the workbook can
// be read again. A part to be read whole after all, late (a row going back, a comment for
// expat), then comes from the workbook read again, once: the same cells as a sheet read whole,
// unless the workbook came back changed.
TEST(XlsxParts, SheetReadAgainFromTheWorkbookWhereItsBytesAreGone)
{
    constexpr int rows = 60000; // megabytes of part, read in steps of one
    std::string part = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                       "main\"><sheetData>";
    for (int row = 1; row <= rows; ++row) {
        const std::string r = std::to_string(row);
        part += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + r + "</v></c></row>";
    }
    const struct
    {
        const char* what;
        const char* end;     // of the sheet data
        const char* changed; // what reading again does to the workbook
        const char* refusal; // nullptr: the cells are read
        WorkbookFailure failure = WorkbookFailure::Damaged;
    } cases[] = {
        {"a row going back", "<row r=\"1\"><c r=\"B1\"><v>-1</v></c></row>", "", nullptr},
        {"a comment", "<!-- x -->", "", nullptr},
        {"a workbook grown", "<!-- x -->", "grown", "changed", WorkbookFailure::Unreadable},
        {"a part changed", "<!-- x -->", "changed", "p.xml: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = storedArchive(part + c.end + "</sheetData></worksheet>");
        const auto entry = ZipArchive(bytes).find(u"p.xml"_s);
        ASSERT_TRUE(entry);
        const auto cellsOf = [&](CellStream& stream) {
            stream.start();
            std::string seen;
            StreamedCell cell;
            while (stream.next(cell)) {
                seen += std::to_string(cell.row) + "," + std::to_string(cell.column) + "," +
                        std::to_string(cell.value.number) + ";";
            }
            return seen;
        };
        int rereads = 0;
        XlsxSheetCells asRead(bytes, *entry, sharedStringsReady({}), false, 2, RowRelease::AsRead,
                              [&] {
                                  ++rereads;
                                  QByteArray again = bytes;
                                  if (std::string_view(c.changed) == "grown") {
                                      again += ' ';
                                  } else if (std::string_view(c.changed) == "changed") {
                                      again[again.size() / 2] = ' ';
                                  }
                                  return again;
                              });
        try {
            const std::string seen = cellsOf(asRead);
            EXPECT_EQ(c.refusal, nullptr);
            XlsxSheetCells whole(bytes, *entry, sharedStringsReady({}), false, 2,
                                 RowRelease::WholeSheet);
            EXPECT_EQ(seen, cellsOf(whole));
            EXPECT_EQ(asRead.restarts(), 1);
        } catch (const WorkbookError& error) {
            ASSERT_NE(c.refusal, nullptr) << error.what();
            EXPECT_NE(std::string_view(error.what()).find(c.refusal), std::string_view::npos)
                << error.what();
            EXPECT_EQ(error.kind(), c.failure);
        }
        EXPECT_EQ(rereads, 1);
    }
}

// A worksheet whose cells the scanner hands on whole reads as the same worksheet read element
// by element (a comment leaves it to expat): the same values, used part and order, or the same
// refusal.
TEST(XlsxParts, WholeCellsReadAsTheirElements)
{
    const struct
    {
        const char* what;
        std::string rows;
    } cases[] = {
        {"every type",
         "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>7</v></c><c t=\"n\"><v> 1.5 </v></c>"
         "<c t=\"b\"><v>1</v></c><c t=\"e\"><v>#N/A</v></c><c t=\"str\"><v>x y</v></c>"
         "<c t=\"d\"><v>2024-02-29T12:00:00</v></c><c t=\"inlineStr\"><is><t>z</t></is></c>"
         "<c s=\"1\"/><c><v></v></c><c t=\"s\"/><c r=\"K2\"><v>11</v></c>"
         "<c t=\"str\"><v></v></c></row>"},
        {"repeats, rows back, no references",
         "<row r=\"3\"><c r=\"B3\"><v>1</v></c><c r=\"B3\"/><c r=\"C3\"><v>2</v></c>"
         "<c r=\"C3\"><v>3</v></c></row><row r=\"1\"><c><v>4</v></c><c><v>5</v></c></row>"
         "<row><c r=\"A2\"><v>6</v></c></row>"},
        {"inline texts",
         "<row><c t=\"inlineStr\"><is><t> a&amp;b\t</t></is></c><c t=\"inlineStr\"><is><t "
         "xml:space=\"preserve\"> a_x0041_ </t></is></c><c t=\"inlineStr\"><is><t></t></is>"
         "</c><c t=\"inlineStr\"><is><r><t>x</t></r></is></c><c t=\"s\"><is><t>1</t></is></c>"
         "<c><is><t>5</t></is></c><c t=\"inlineStr\"><v>6</v></c></row>"},
        {"number values",
         "<row><c><v>-1.5E+3</v></c><c><v>0.25e-2</v></c><c t=\"s\"><v>12</v></c ><c><v>"
         "1234567890123456789012345678901234567890</v></c><c><v>7</v ></c><c><v>8</v></c></row>"},
        {"a number value that is none", "<row><c><v>1e</v></c></row>"},
        // Refused where the cell opens, and where it ends.
        {"an unknown type", "<row><c t=\"q\"><v>1</v></c></row>"},
        {"no number", "<row><c><v>1x</v></c></row>"},
    };
    const auto read = [](const std::string& part) {
        const QByteArray bytes = storedArchive(part);
        ZipArchive archive(bytes);
        std::string seen;
        try {
            const WorksheetCells cells =
                readWorksheet(archive, *archive.find(u"p.xml"_s), false, 12);
            seen = std::to_string(cells.rows) + "x" + std::to_string(cells.columns) +
                   (cells.rowsInOrder ? " in order" : "");
            WorksheetCells::Reader reader(cells);
            SheetValue value;
            while (reader.next(value)) {
                seen += " [" + std::to_string(value.row) + "," + std::to_string(value.column) +
                        "," + std::to_string(static_cast<int>(value.kind)) + "," +
                        std::to_string(value.number) + "," + std::to_string(value.sharedIndex) +
                        "," + std::string(value.text) + "]";
            }
        } catch (const WorkbookError& error) {
            seen = std::string("refused: ") + error.what();
        }
        return seen;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string start = "<worksheet xmlns=\"http://schemas.openxmlformats.org/"
                                  "spreadsheetml/2006/main\"><sheetData>" +
                                  c.rows + "</sheetData>";
        EXPECT_EQ(read(start + "</worksheet>"), read(start + "<!-- -->" + "</worksheet>"));
    }
}

// A cell's type is one of the names a worksheet may give, spelled exactly; a name that starts
// like one is damage.
TEST(XlsxParts, CellTypesAreNamedExactly)
{
    for (const char* type :
         {"", "S", "ss", "st", "strs", "nn", "inline", "inlineStrs", "bb", "ee", "dd", "x"}) {
        SCOPED_TRACE(type);
        const QByteArray bytes = storedArchive(
            std::string("<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                        "main\"><sheetData><row><c t=\"") +
            type + "\"><v>1</v></c></row></sheetData></worksheet>");
        ZipArchive archive(bytes);
        try {
            readWorksheet(archive, *archive.find(u"p.xml"_s), false, 2);
            ADD_FAILURE() << "read";
        } catch (const WorkbookError& error) {
            EXPECT_NE(std::string_view(error.what()).find("unknown type"), std::string_view::npos);
        }
    }
}

// A shared string's index is a whole number within 32 bits however it is spelled; anything
// else is damage, named as a number cell's would be where it is no number at all.
TEST(XlsxParts, SharedStringIndicesAreWholeNumbers)
{
    constexpr std::int64_t noNumber = -1;
    constexpr std::int64_t noString = -2;
    const struct
    {
        const char* spelled;
        std::int64_t index;
    } cases[] = {
        {"0", 0},
        {"7", 7},
        {"123456789", 123456789},
        {"0000000007", 7},
        {"4294967295", 4294967295},
        {"4294967296", noString},
        {" 12\n", 12},
        {"3.0", 3},
        {"1e2", 100},
        {"-0", 0},
        {"-1", noString},
        {"2.5", noString},
        {"", noNumber},
        {"1x", noNumber},
        {"+3", noNumber},
        {"12 3", noNumber},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spelled);
        const QByteArray bytes = storedArchive(
            std::string("<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                        "main\"><sheetData><row><c t=\"s\"><v>") +
            c.spelled + "</v></c></row></sheetData></worksheet>");
        ZipArchive archive(bytes);
        try {
            const WorksheetCells cells =
                readWorksheet(archive, *archive.find(u"p.xml"_s), false, 2);
            WorksheetCells::Reader reader(cells);
            SheetValue value;
            ASSERT_TRUE(reader.next(value));
            EXPECT_EQ(value.kind, SheetValue::Kind::SharedText);
            EXPECT_EQ(value.sharedIndex, c.index);
        } catch (const WorkbookError& error) {
            const std::string_view what(error.what());
            EXPECT_NE(what.find(c.index == noNumber ? "holds no number" : "does not exist"),
                      std::string_view::npos)
                << what;
            EXPECT_LT(c.index, 0);
        }
    }
}

// A shared string table whose items the scanner hands on whole reads as the same table read
// element by element (a comment leaves it to expat).
TEST(XlsxParts, WholeStringItemsReadAsTheirElements)
{
    const std::string items =
        "<si><t>a</t></si><si><t xml:space=\"preserve\"> b\t</t></si><si><t> c\n</t></si>"
        "<si><t></t></si><si><t>_x0041__x005F_x0042_</t></si><si><t>a</t></si>"
        "<si><r><t>d</t></r><r><t xml:space=\"preserve\"> e </t></r></si><si><t>&#12475;</t></si>";
    const auto read = [](const std::string& part) {
        const QByteArray bytes = storedArchive(part);
        ZipArchive archive(bytes);
        return readSharedStrings(archive, *archive.find(u"p.xml"_s)).toList();
    };
    const std::string start =
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + items;
    EXPECT_EQ(read(start + "</sst>"), read(start + "<!-- --></sst>"));
}

// A number cell reads as the general parse of its trimmed text reads it, however short, signed
// or padded with zeros.
TEST(XlsxParts, NumberCellsReadAsTheirText)
{
    const std::string numbers[] = {"0",
                                   "-0",
                                   "007",
                                   " 42\t",
                                   "-123",
                                   "999999999999999",
                                   "-999999999999999",
                                   "9007199254740993",
                                   "123456789012345678901234567890",
                                   "1.5",
                                   "-2.5e-3",
                                   "1E3"};
    std::string part = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                       "main\"><sheetData>";
    for (const std::string& number : numbers) {
        part += "<row><c><v>" + number + "</v></c></row>";
    }
    part += "</sheetData></worksheet>";
    const QByteArray bytes = storedArchive(part);
    XlsxSheetCells cells(bytes, *ZipArchive(bytes).find(u"p.xml"_s), sharedStringsReady({}), false,
                         1, RowRelease::WholeSheet);
    cells.start();
    StreamedCell cell;
    for (std::string number : numbers) {
        SCOPED_TRACE(number);
        number.erase(number.find_last_not_of(" \t") + 1);
        number.erase(0, number.find_first_not_of(' '));
        double expected = 0.0;
        std::from_chars(number.data(), number.data() + number.size(), expected);
        ASSERT_TRUE(cells.next(cell));
        ASSERT_EQ(cell.value.kind, CellValue::Kind::Number);
        EXPECT_EQ(cell.value.number, expected);
        EXPECT_EQ(std::signbit(cell.value.number), std::signbit(expected));
    }
    EXPECT_FALSE(cells.next(cell));
}

// Each item gives its own text, however the items repeat within and across the blocks the
// table keeps them in.
// A text is plain, taken without being read, where it is not empty and does not end in a space
// a field is trimmed of; a repeat is as plain as its first.
TEST(XlsxParts, SharedStringsTellPlainTexts)
{
    const struct
    {
        QString text;
        bool plain;
    } cases[] = {
        {u""_s, false},  {u"a"_s, true},       {u"a "_s, false}, {u"a\u3000"_s, false},
        {u" a"_s, true}, {u"\u3000"_s, false}, {u"a\t"_s, true}, {u"a\u3000b"_s, true},
    };
    SharedStrings table;
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            table.append(c.text);
        }
    }
    table.finish();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& c = cases[i % std::size(cases)];
        EXPECT_EQ(table.keptAt(i).plain, c.plain) << i;
        EXPECT_EQ(*table.keptAt(i).text, c.text) << i;
    }
}

TEST(XlsxParts, SharedStringsGiveEachItemItsText)
{
    std::vector<QString> texts;
    texts.insert(texts.end(), 65536 + 3, u"x"_s); // a uniform block, then another
    texts.insert(texts.end(), 70000, QString());
    texts.push_back(u"y"_s); // the second block no longer uniform
    const std::size_t alternating = texts.size();
    for (int i = 0; i < 140000; ++i) {
        texts.push_back(QString::number(i % 3));
    }
    // A block of new texts but for its last item, then blocks of every width: 5, 17, 300 and
    // 70,000 texts taking turns, then repeating again.
    texts.resize((texts.size() + 65535) / 65536 * 65536, u"pad"_s);
    for (int i = 0; i < 65535; ++i) {
        texts.push_back(u"new "_s + QString::number(i));
    }
    texts.push_back(texts.back());
    for (const int kinds : {5, 17, 300, 70000, 70000}) {
        for (int i = 0; i < 70000; ++i) {
            texts.push_back(QString::number(i % kinds));
        }
    }
    SharedStrings table;
    for (const QString& text : texts) {
        table.append(text);
    }
    table.finish();
    ASSERT_EQ(table.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(table[i], texts[i]) << i;
        ASSERT_EQ(table.keptAt(i).text, &table[i]) << i;
        ASSERT_EQ(table.keptAt(i).plain, !texts[i].isEmpty()) << i;
    }
    EXPECT_THROW(table.at(texts.size()), std::out_of_range);
    // A text repeated a few items on is kept once.
    EXPECT_TRUE(table[alternating + 1].isSharedWith(table[alternating + 4]));
}

// Every text comes out as the value itself decodes, however the texts repeat, alternate and
// crowd each other out; a repeat still kept shares the first one's QString.
TEST(XlsxParts, RecentTextsGiveEachValueItsOwnText)
{
    using Kind = SheetValue::Kind;
    const std::string_view texts[] = {"P000001", "P000002",       "季節", "通常",   "限定",
                                      "_x0041_", "_x005F_x0041_", "",     "P00000", "P0000010"};
    std::mt19937 random(11);
    RecentTexts recent;
    for (int i = 0; i < 20000; ++i) {
        SheetValue value;
        value.column = static_cast<std::uint16_t>(random() % 3);
        value.kind = random() % 2 ? Kind::Text : Kind::EscapedText;
        // Mostly a few texts, now and then any of them: both hits and replacements.
        value.text = texts[random() % (i % 7 == 0 ? std::size(texts) : 3)];
        ASSERT_EQ(recent.textOf(value), value.ownText())
            << i << ": " << std::string(value.text) << " in column " << value.column;
    }

    SheetValue code;
    code.kind = Kind::Text;
    code.text = "P000001";
    const QString first = recent.textOf(code);
    EXPECT_TRUE(recent.textOf(code).isSharedWith(first));
    SheetValue escaped = code;
    escaped.kind = Kind::EscapedText;
    escaped.text = "_x0041_";
    code.text = "_x0041_";
    EXPECT_EQ(recent.textOf(code), u"_x0041_"_s);
    EXPECT_EQ(recent.textOf(escaped), u"A"_s);
    code.column = 1;
    EXPECT_EQ(recent.textOf(code), u"_x0041_"_s);
}

} // namespace
