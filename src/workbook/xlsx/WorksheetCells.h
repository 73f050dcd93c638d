#pragma once

#include "workbook/xlsx/PagesAllocator.h"

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

// The cells of one worksheet: one value per position in the requested columns, and the used
// part computed from every cell the sheet stores (formatted empty cells included), whatever the
// sheet's <dimension> claims. Where a position is stored twice, the later cell wins, an empty
// one too (it leaves the position empty).
//
// The values are packed one after the other in a byte string (a kind byte, the row and column
// where they do not follow from the value before, and the number, index or text), so that a
// sheet of a million rows stays small in memory and no text is made a QString before the
// value is handed out. A value that does not lie beyond every value before it (a row going
// back, a repeated cell) leaves the values to be put in order, and the repeats dropped, when
// they have doubled since the first such value, and at the end: a part of a few hundred
// kilobytes repeating one cell millions of times keeps one value.
class WorksheetCells
{
public:
    // What takes the values while the part is still being read: handed the cells whenever
    // their values take batchBytes or more, it moves them out (moveValuesTo). The values must
    // then come in order: one that does not lie beyond every value before it, or an empty cell
    // that may replace one, throws ValuesOutOfOrder.
    class BatchSink
    {
    public:
        virtual ~BatchSink() = default;
        virtual void full(WorksheetCells& cells) = 0;
        std::size_t batchBytes = 0;
    };
    struct ValuesOutOfOrder
    {};

    int rows = 0;
    int columns = 0;
    // The part stores no row after a later row.
    bool rowsInOrder = true;

    void append(const SheetValue& value);
    // A cell without a value: empties its position where a value stands there already.
    void appendEmpty(std::uint32_t row, std::uint16_t column);
    // After the last value: one value per position, by row and column. Throws WorkbookError.
    void finish();

    std::size_t valueCount() const { return m_packed.count; }
    // Above the index of every shared string a value appended refers to, a value since
    // replaced included.
    std::uint64_t sharedIndexBound() const { return m_sharedIndexBound; }
    // For the one reader that reads the values to their end: hands the memory of the packed
    // bytes before offset (its Reader::offset) back to the system, where the values are read in
    // order and the system allows it. No value before offset may be read again.
    void releaseReadValues(std::size_t offset);
    // Before appending: room for that many bytes of values.
    void reserve(std::size_t bytes);

    // Before appending: the values go to sink in batches instead of staying here.
    void sendBatchesTo(BatchSink* sink) { m_sink = sink; }
    // Moves the values kept so far into batch, in place of its own (whose memory it reuses),
    // with the used part so far; none stay here. Only for values in order.
    void moveValuesTo(WorksheetCells& batch);

    // Reads the values back by row and column, once finished.
    class Reader
    {
    public:
        explicit Reader(const WorksheetCells& cells) : m_cells(&cells) {}
        bool next(SheetValue& value);
        // Where the next value starts in the packed bytes, when they are read in order.
        std::size_t offset() const { return m_at; }

    private:
        const WorksheetCells* m_cells;
        std::size_t m_at = 0; // in the packed bytes, or in the order
        std::uint32_t m_row = 0;
        std::uint16_t m_column = 0;
    };

private:
    struct Packed
    {
        PackedBytes bytes;
        std::size_t count = 0;
        std::uint32_t lastRow = 0;
        std::uint16_t lastColumn = 0;

        void put(unsigned char kind, std::uint32_t row, std::uint16_t column);
        void put(const SheetValue& value);
        // Writes the kind byte, row and column at out; returns the byte after them.
        char* putPlace(char* out, unsigned char kind, std::uint32_t row, std::uint16_t column);
    };
    // Each position with the offset of its last value, sorted; none for an empty one.
    std::vector<std::uint64_t> sortedPositions() const;
    void noteUnordered();
    void compactWhenGrown();
    void compact();

    Packed m_packed;
    std::uint64_t m_furthest = 0; // the position (row, column) beyond every value so far
    bool m_any = false;
    std::size_t m_unorderedFrom = 0; // bytes when a value first stood before another
    bool m_unordered = false;
    // Once finished with values out of order: sorted positions with offsets to read from.
    std::vector<std::uint64_t> m_order;
    bool m_byOrder = false;
    std::size_t m_released = 0; // bytes handed back, from the start
    std::uint64_t m_sharedIndexBound = 0;
    BatchSink* m_sink = nullptr;
};

// Reads one worksheet part, keeping the values of columns 0..columnCount-1 in file order.
// Cells and rows without a reference follow the one before them. A cell beyond the sheet's
// limits or a value that does not fit its type is damage. Throws WorkbookError.
WorksheetCells readWorksheet(ZipArchive& archive, const ZipEntry& entry, bool dates1904,
                             int columnCount);

// Thrown where the reader's own scanner leaves a part to expat.
struct PartNotScanned
{};

// The same, handing the values to sink in batches as they are read; the cells returned hold
// the values after the last batch, and the used part. Values out of order throw
// WorksheetCells::ValuesOutOfOrder, a part the scanner cannot read PartNotScanned: the part is
// then to be read with readWorksheet. Throws WorkbookError.
WorksheetCells readWorksheetInBatches(ZipArchive& archive, const ZipEntry& entry, bool dates1904,
                                      int columnCount, WorksheetCells::BatchSink& sink);

// Refuses a worksheet with a value referring to a shared string beyond the table's count
// (the table may still be being read while the worksheet is). Throws WorkbookError.
void checkSharedStringIndices(const WorksheetCells& cells, std::size_t sharedStringCount);

} // namespace setzaiko::xlsx
