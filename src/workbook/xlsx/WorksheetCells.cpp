#include "workbook/xlsx/WorksheetCells.h"

#include "workbook/xlsx/CellReference.h"
#include "workbook/xlsx/RichText.h"
#include "workbook/xlsx/SerialDate.h"
#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipArchive.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace setzaiko::xlsx {

namespace {

enum class CellType : std::uint8_t { Number, Shared, Inline, FormulaText, Boolean, Error, Date };

// Read for every cell: by its length, then its letters. t: the value of the cell's t, no data
// where it has none.
CellType cellType(std::string_view t)
{
    if (!t.data()) {
        return CellType::Number;
    }
    if (t.size() == 1) {
        switch (t[0]) {
        case 's':
            return CellType::Shared;
        case 'n':
            return CellType::Number;
        case 'b':
            return CellType::Boolean;
        case 'e':
            return CellType::Error;
        case 'd':
            return CellType::Date;
        default:
            break;
        }
    } else if (t == "inlineStr") {
        return CellType::Inline;
    } else if (t == "str") {
        return CellType::FormulaText;
    }
    fail("a cell has an unknown type");
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\r' ||
                             text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A whole number of up to 15 digits, as most values and every shared string index are: exact
// in a double, so it reads as the general parse reads it, -0 included.
std::optional<double> wholeNumberOf(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 15) {
        return std::nullopt;
    }
    std::int64_t number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    const auto value = static_cast<double>(number);
    return negative ? -value : value;
}

double numberOf(std::string_view text)
{
    text = trimmed(text);
    if (const auto whole = wholeNumberOf(text)) {
        return *whole;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        fail("a number cell holds no number");
    }
    return value;
}

// A shared string's index. A whole number as it stands, as nearly every writer gives it, needs
// no other check than its range; anything else is read as a number cell's value is, then must
// be a whole number within the indices a part may hold.
std::uint32_t sharedIndexOf(std::string_view text)
{
    constexpr double largest = std::numeric_limits<std::uint32_t>::max();
    if (const auto whole = wholeNumberOf(text); whole && *whole >= 0 && *whole <= largest) {
        return static_cast<std::uint32_t>(*whole);
    }
    const double index = numberOf(text);
    if (index < 0 || index > largest || index != std::floor(index)) {
        fail("a cell refers to a shared string that does not exist");
    }
    return static_cast<std::uint32_t>(index);
}

class WorksheetHandler : public XmlHandler
{
public:
    WorksheetHandler(bool dates1904, int columnCount, WorksheetCells& cells)
        : m_dates1904(dates1904), m_columnCount(columnCount), m_cells(cells)
    {}

    void startElement(const XmlName& name, const char** attributes) override
    {
        open(name, attributes);
        takesWhole = m_inRow && m_depth == 3 ? WholeElements::Cells : WholeElements::None;
    }

    void endElement(const XmlName& name) override
    {
        close(name);
        takesWhole = m_inRow && m_depth == 3 ? WholeElements::Cells : WholeElements::None;
    }

    // Comes only where a cell may open: in a row, outside any other element.
    void cell(const WholeCell& cell) override
    {
        using Holds = WholeCell::Holds;
        startCell(cell.reference, cell.type);
        m_hasValue = cell.holds == Holds::Value;
        m_hasInline = cell.holds == Holds::Text || cell.holds == Holds::PreservedText;
        // The text is read where the scanner holds it, for as long as this call lasts.
        m_valueText = m_hasValue ? cell.text : std::string_view();
        m_inlineText = !m_hasInline                         ? std::string_view()
                       : cell.holds == Holds::PreservedText ? cell.text
                                                            : trimmed(cell.text);
        endCell();
    }

    void characters(std::string_view text) override
    {
        if (m_inValue) {
            m_value.append(text);
        } else if (m_inInline) {
            m_inline.characters(text);
        }
    }

private:
    void open(const XmlName& name, const char** attributes)
    {
        ++m_depth;
        if (m_inInline) {
            m_inline.startElement(name, attributes);
            return;
        }
        if (name.space != XmlNamespace::Spreadsheet) {
            return;
        }
        // The sheet data, its rows and their cells are matched by name and place: one that
        // stands anywhere else would be passed over, and a table without its rows is damage.
        if (m_depth == 1) {
            if (name.local != "worksheet") {
                fail("a worksheet part has the wrong root element");
            }
        } else if (name.local == "sheetData") {
            if (m_depth != 2) {
                fail("sheet data stands outside the worksheet's root");
            }
            m_inSheetData = true;
        } else if (name.local == "row") {
            if (!m_inSheetData || m_depth != 3) {
                fail("a row stands outside the sheet data");
            }
            m_inRow = true;
            startRow(attributes);
        } else if (name.local == "c") {
            if (!m_inRow || m_depth != 4) {
                fail("a cell stands outside a row");
            }
            const char* r = nullptr;
            const char* t = nullptr;
            for (const char** a = attributes; *a; a += 2) {
                if (a[0][0] == 'r' && a[0][1] == '\0') {
                    r = a[1];
                } else if (a[0][0] == 't' && a[0][1] == '\0') {
                    t = a[1];
                }
            }
            startCell(r, t ? std::string_view(t) : std::string_view());
        } else if (m_depth == 5 && m_inCell && name.local == "v") {
            m_inValue = true;
            m_hasValue = true;
            m_value.clear();
        } else if (m_depth == 5 && m_inCell && name.local == "is") {
            m_inInline = true;
            m_hasInline = true;
            m_inline.begin(attributes);
        }
    }

    void close(const XmlName& name)
    {
        if (m_inInline) {
            if (m_depth == 5) {
                m_inInline = false;
            } else {
                m_inline.endElement(name);
            }
        } else if (m_inValue && m_depth == 5) {
            m_inValue = false;
        } else if (m_inCell && m_depth == 4) {
            m_valueText = m_value;
            m_inlineText = m_inline.undecoded();
            endCell();
        } else if (m_inRow && m_depth == 3) {
            m_inRow = false;
        } else if (m_inSheetData && m_depth == 2) {
            m_inSheetData = false;
        }
        --m_depth;
    }

    void startRow(const char** attributes)
    {
        const char* r = attribute(attributes, XmlNamespace::None, "r");
        if (r) {
            const auto row = parseRowNumber(r);
            if (!row) {
                fail("a row lies outside the worksheet");
            }
            m_row = *row;
        } else {
            ++m_row;
        }
        m_column = 0;
    }

    // r and t: the values of the cell's attributes of those names, absent where nullptr, or
    // where t has no data.
    void startCell(const char* r, std::string_view t)
    {
        if (r) {
            const auto position = parseCellReference(r);
            if (!position) {
                fail("a cell lies outside the worksheet");
            }
            m_cellRow = position->row;
            m_column = position->column;
        } else {
            m_cellRow = m_row;
            ++m_column;
        }
        if (m_cellRow < 1 || m_cellRow > maxRows || m_column > maxColumns) {
            fail("a cell lies outside the worksheet");
        }
        m_type = cellType(t);
        m_inCell = true;
        m_hasValue = false;
        m_hasInline = false;
    }

    void endCell()
    {
        m_inCell = false;
        const int row = m_cellRow - 1;
        const int column = m_column - 1;
        m_cells.rows = std::max(m_cells.rows, row + 1);
        m_cells.columns = std::max(m_cells.columns, column + 1);
        if (column >= m_columnCount) {
            return;
        }
        SheetValue value;
        value.row = static_cast<std::uint32_t>(row);
        value.column = static_cast<std::uint16_t>(column);
        if (!valueOfCell(value)) {
            // A repeated cell replaces the value before it, an empty one too.
            m_cells.appendEmpty(value.row, value.column);
            return;
        }
        if (m_cells.valueCount() > 0 && m_lastRow > value.row) {
            m_cells.rowsInOrder = false;
        }
        m_lastRow = value.row;
        m_cells.append(value);
    }

    // The cell's value, or false where it has none.
    bool valueOfCell(SheetValue& value)
    {
        switch (m_type) {
        case CellType::Number:
            if (!m_hasValue || trimmed(m_valueText).empty()) {
                return false;
            }
            value.number = numberOf(m_valueText);
            break;
        case CellType::Date: {
            if (!m_hasValue) {
                return false;
            }
            const auto serial = serialFromIsoDate(trimmed(m_valueText), m_dates1904);
            if (!serial) {
                fail("a date cell holds no date");
            }
            value.number = *serial;
            break;
        }
        case CellType::Shared: {
            if (!m_hasValue) {
                return false;
            }
            value.kind = SheetValue::Kind::SharedText;
            value.sharedIndex = sharedIndexOf(m_valueText);
            break;
        }
        case CellType::Inline:
            if (!m_hasInline) {
                return false;
            }
            value.kind = SheetValue::Kind::EscapedText;
            value.text = m_inlineText;
            break;
        case CellType::FormulaText:
        case CellType::Error:
            if (!m_hasValue) {
                return false;
            }
            value.kind = SheetValue::Kind::Text;
            value.text = m_valueText;
            break;
        case CellType::Boolean: {
            if (!m_hasValue) {
                return false;
            }
            const std::string_view flag = trimmed(m_valueText);
            if (flag != "0" && flag != "1") {
                fail("a Boolean cell holds neither 0 nor 1");
            }
            value.kind = SheetValue::Kind::Text;
            value.text = flag == "1" ? "TRUE" : "FALSE";
            break;
        }
        }
        return true;
    }

    bool m_dates1904;
    int m_columnCount;
    WorksheetCells& m_cells;
    std::uint32_t m_lastRow = 0;

    int m_depth = 0;
    bool m_inSheetData = false;
    bool m_inRow = false;
    int m_row = 0;
    int m_column = 0;

    bool m_inCell = false;
    int m_cellRow = 0;
    CellType m_type = CellType::Number;
    bool m_inValue = false;
    bool m_hasValue = false;
    std::string m_value;
    // The cell's value and inline text, wherever they were gathered.
    std::string_view m_valueText;
    std::string_view m_inlineText;
    bool m_inInline = false;
    bool m_hasInline = false;
    RichText m_inline;
};

} // namespace

WorksheetCells readWorksheet(ZipArchive& archive, const ZipEntry& entry, bool dates1904,
                             int columnCount)
{
    WorksheetCells cells;
    std::optional<WorksheetHandler> handler;
    parseLargeXml(archive, entry, [&]() -> XmlHandler& {
        handler.reset();
        cells = WorksheetCells{};
        // A value packs into fewer bytes than its cell takes in the part ("<c><v>1</v></c>",
        // 15 bytes, into 9): a quarter of the part spares most copies of a growing string. The
        // declared size is bounded by what the stored bytes can inflate to, at most a
        // thousandfold; a worksheet deflates about tenfold, so eight times the stored bytes
        // keeps the reservation to what the file can hold.
        cells.reserve(static_cast<std::size_t>(std::min(entry.size / 4, entry.compressedSize * 8)));
        return handler.emplace(dates1904, columnCount, cells);
    });
    cells.finish();
    return cells;
}

WorksheetCells readWorksheetInBatches(ZipArchive& archive, const ZipEntry& entry, bool dates1904,
                                      int columnCount, WorksheetCells::BatchSink& sink)
{
    WorksheetCells cells;
    std::optional<WorksheetHandler> handler;
    bool fresh = true;
    parseLargeXml(
        archive, entry,
        [&]() -> XmlHandler& {
            // Asked again, the parser starts over with expat: the batches handed out would be read
            // twice.
            if (!fresh) {
                throw PartNotScanned();
            }
            fresh = false;
            cells.reserve(sink.batchBytes + sink.batchBytes / 4);
            cells.sendBatchesTo(&sink);
            return handler.emplace(dates1904, columnCount, cells);
        },
        LargePart::InflatedAsScanned);
    cells.sendBatchesTo(nullptr);
    return cells;
}

void checkSharedStringIndices(const WorksheetCells& cells, std::size_t sharedStringCount)
{
    // Only where a value appended refers beyond the table are the values kept looked at: one
    // that did may have been replaced by a later cell at its position.
    if (cells.sharedIndexBound() <= sharedStringCount) {
        return;
    }
    WorksheetCells::Reader reader(cells);
    SheetValue value;
    while (reader.next(value)) {
        if (value.kind == SheetValue::Kind::SharedText && value.sharedIndex >= sharedStringCount) {
            fail("a cell refers to a shared string that does not exist");
        }
    }
}

QString SheetValue::ownText() const
{
    return kind == Kind::EscapedText ? decodeEscapes(text) : exactText(text);
}

} // namespace setzaiko::xlsx
