#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// One value of a worksheet, as WorksheetCells hands it back.
struct SheetValue
{
    enum class Kind : std::uint8_t {
        Number,
        SharedText,
        Text,        // UTF-8 as it stands
        EscapedText, // UTF-8 with _xHHHH_ escapes still in it
    };

    std::uint32_t row = 0;    // from 0
    std::uint16_t column = 0; // from 0
    Kind kind = Kind::Number;
    double number = 0.0;
    std::uint32_t sharedIndex = 0;
    std::string_view text; // into the cells it was read from

    // The text of a Text or EscapedText value.
    QString ownText() const;
};

// The cells of one worksheet: their values in the requested columns, in file order, and the
// used part computed from every cell the sheet stores (formatted empty cells included),
// whatever the sheet's <dimension> claims.
//
// The values are packed one after the other in a byte string (a kind byte, the row and column
// where they do not follow from the value before, and the number, index or text), so that a
// sheet of a million rows stays small in memory and no text is made a QString before the
// value is handed out.
class WorksheetCells
{
public:
    int rows = 0;
    int columns = 0;
    // No value stands before a value of an earlier row: the values can be handed out as read.
    bool rowsInOrder = true;

    void append(const SheetValue& value);
    std::size_t valueCount() const { return m_count; }
    // Before appending: room for that many bytes of values.
    void reserve(std::size_t bytes) { m_bytes.reserve(bytes); }

    // Reads the values back in file order.
    class Reader
    {
    public:
        explicit Reader(const WorksheetCells& cells) : m_cells(&cells) {}
        bool next(SheetValue& value);

    private:
        const WorksheetCells* m_cells;
        std::size_t m_at = 0;
        std::uint32_t m_row = 0;
        std::uint16_t m_column = 0;
    };

    // Every value, in file order, or sorted by row (stable) where rowsInOrder is false.
    std::vector<SheetValue> valuesByRow() const;

private:
    std::string m_bytes;
    std::size_t m_count = 0;
    std::uint32_t m_lastRow = 0;
    std::uint16_t m_lastColumn = 0;
};

// Reads one worksheet part, keeping the values of columns 0..columnCount-1 in file order.
// Cells and rows without a reference follow the one before them. A cell beyond the sheet's
// limits or a value that does not fit its type is damage. Throws WorkbookError.
WorksheetCells readWorksheet(ZipArchive& archive, const ZipEntry& entry, bool dates1904,
                             int columnCount);

// Refuses a worksheet with a value referring to a shared string beyond the table's count
// (the table may still be being read while the worksheet is). Throws WorkbookError.
void checkSharedStringIndices(const WorksheetCells& cells, std::size_t sharedStringCount);

} // namespace setzaiko::xlsx
