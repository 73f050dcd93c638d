// How WorksheetCells packs its values: for each, a kind byte whose flags say whether the
// value stands in the row of the value before it and in the next column; the row and the
// column as variable-length numbers where they do not; then the number (8 bytes), the shared
// string's index (variable length), or the text's length (variable length) and bytes. An empty
// cell that may replace a value before it is a kind byte of its own with no content.

#include "common/HugePages.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/XlsxError.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace setzaiko::xlsx {

namespace {

constexpr unsigned char kindMask = 0x07;
constexpr unsigned char emptyCell = 0x04;
constexpr unsigned char sameRow = 0x08;
constexpr unsigned char nextColumn = 0x10;

// A sorted position packs the row and column above the offset of the value's bytes.
constexpr int columnBits = 14; // maxColumns
constexpr int offsetBits = 30;
constexpr std::uint64_t offsetMask = (std::uint64_t{1} << offsetBits) - 1;

// Out-of-order values are put in order once at least this many bytes stand out of order.
constexpr std::size_t leastUnorderedGrowth = std::size_t{1} << 20;

std::uint64_t positionOf(std::uint32_t row, std::uint16_t column)
{
    return (std::uint64_t{row} << columnBits) | column;
}

// Writes value as a variable-length number at out; returns the byte after it.
char* putNumber(char* out, std::uint64_t value)
{
    while (value >= 0x80) {
        *out++ = static_cast<char>(0x80 | (value & 0x7F));
        value >>= 7;
    }
    *out++ = static_cast<char>(value);
    return out;
}

// The most a value's bytes before its content take: the kind byte, a row and a column, and a
// number of eight bytes or a variable-length one.
constexpr std::size_t maxHead = 1 + 5 + 3 + 10;

std::uint64_t takeNumber(const PackedBytes& in, std::size_t& at)
{
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[at++]);
        value |= std::uint64_t{byte & 0x7Fu} << shift;
        if (byte < 0x80) {
            return value;
        }
    }
}

// Reads the value at `at`: its kind code, its row and column (where the bytes leave them out,
// the row stays and the column advances) and its content. Returns the offset after it.
std::size_t decode(const PackedBytes& bytes, std::size_t at, std::uint32_t& row,
                   std::uint16_t& column, SheetValue& value, unsigned char& code)
{
    const auto header = static_cast<unsigned char>(bytes[at++]);
    code = header & kindMask;
    if (!(header & sameRow)) {
        row = static_cast<std::uint32_t>(takeNumber(bytes, at));
    }
    if (header & nextColumn) {
        ++column;
    } else {
        column = static_cast<std::uint16_t>(takeNumber(bytes, at));
    }
    value.row = row;
    value.column = column;
    if (code == emptyCell) {
        return at;
    }
    value.kind = static_cast<SheetValue::Kind>(code);
    switch (value.kind) {
    case SheetValue::Kind::Number:
        std::memcpy(&value.number, bytes.data() + at, sizeof(double));
        at += sizeof(double);
        break;
    case SheetValue::Kind::SharedText:
        value.sharedIndex = static_cast<std::uint32_t>(takeNumber(bytes, at));
        break;
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText: {
        const auto size = static_cast<std::size_t>(takeNumber(bytes, at));
        value.text = std::string_view(bytes.data() + at, size);
        at += size;
        break;
    }
    }
    return at;
}

// The value a sorted position points at.
SheetValue valueAt(const PackedBytes& bytes, std::uint64_t sorted)
{
    SheetValue value;
    std::uint32_t row = 0;
    std::uint16_t column = 0;
    unsigned char code = 0;
    decode(bytes, static_cast<std::size_t>(sorted & offsetMask), row, column, value, code);
    const std::uint64_t position = sorted >> offsetBits;
    value.row = static_cast<std::uint32_t>(position >> columnBits);
    value.column = static_cast<std::uint16_t>(position & ((1u << columnBits) - 1));
    return value;
}

} // namespace

char* WorksheetCells::Packed::putPlace(char* out, unsigned char kind, std::uint32_t row,
                                       std::uint16_t column)
{
    auto header = kind;
    const bool follows = count > 0;
    if (follows && row == lastRow) {
        header |= sameRow;
    }
    if (follows && column == lastColumn + 1) {
        header |= nextColumn;
    }
    *out++ = static_cast<char>(header);
    if (!(header & sameRow)) {
        out = putNumber(out, row);
    }
    if (!(header & nextColumn)) {
        out = putNumber(out, column);
    }
    lastRow = row;
    lastColumn = column;
    ++count;
    return out;
}

void WorksheetCells::Packed::put(unsigned char kind, std::uint32_t row, std::uint16_t column)
{
    char head[maxHead];
    const char* end = putPlace(head, kind, row, column);
    bytes.append(head, static_cast<std::size_t>(end - head));
}

// Each value's bytes before its text are written where they are made, then added at once.
void WorksheetCells::Packed::put(const SheetValue& value)
{
    char head[maxHead];
    char* end = putPlace(head, static_cast<unsigned char>(value.kind), value.row, value.column);
    std::string_view text; // a text value's
    switch (value.kind) {
    case SheetValue::Kind::Number:
        std::memcpy(end, &value.number, sizeof(double));
        end += sizeof(double);
        break;
    case SheetValue::Kind::SharedText:
        end = putNumber(end, value.sharedIndex);
        break;
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText:
        end = putNumber(end, value.text.size());
        text = value.text;
        break;
    }
    bytes.append(head, static_cast<std::size_t>(end - head));
    bytes.append(text);
}

void WorksheetCells::append(const SheetValue& value)
{
    const std::uint64_t position = positionOf(value.row, value.column);
    if (m_any && position <= m_furthest) {
        noteUnordered();
    } else {
        m_furthest = position;
        m_any = true;
    }
    if (value.kind == SheetValue::Kind::SharedText) {
        m_sharedIndexBound = std::max(m_sharedIndexBound, std::uint64_t{value.sharedIndex} + 1);
    }
    m_packed.put(value);
    if (m_sink) {
        if (m_packed.bytes.size() >= m_sink->batchBytes) {
            m_sink->full(*this);
        }
        return;
    }
    compactWhenGrown();
}

void WorksheetCells::appendEmpty(std::uint32_t row, std::uint16_t column)
{
    // Nothing stands at a position beyond every value so far.
    if (!m_any || positionOf(row, column) > m_furthest) {
        return;
    }
    noteUnordered();
    m_packed.put(emptyCell, row, column);
    compactWhenGrown();
}

void WorksheetCells::noteUnordered()
{
    if (m_sink) {
        throw ValuesOutOfOrder();
    }
    if (!m_unordered) {
        m_unordered = true;
        m_unorderedFrom = m_packed.bytes.size();
    }
}

void WorksheetCells::compactWhenGrown()
{
    if (m_unordered && m_packed.bytes.size() - m_unorderedFrom >=
                           std::max(leastUnorderedGrowth, m_unorderedFrom)) {
        compact();
    }
}

std::vector<std::uint64_t> WorksheetCells::sortedPositions() const
{
    const PackedBytes& bytes = m_packed.bytes;
    if (bytes.size() > offsetMask) {
        fail("a worksheet holds more values out of order than the reader keeps");
    }
    std::vector<std::uint64_t> sorted;
    sorted.reserve(m_packed.count);
    std::uint32_t row = 0;
    std::uint16_t column = 0;
    SheetValue value;
    unsigned char code = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t offset = at;
        at = decode(bytes, at, row, column, value, code);
        sorted.push_back((positionOf(row, column) << offsetBits) | offset);
    }
    // A position's later value, at the greater offset, sorts last and wins.
    std::sort(sorted.begin(), sorted.end());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const bool last =
            i + 1 == sorted.size() || (sorted[i + 1] >> offsetBits) != (sorted[i] >> offsetBits);
        const auto header = static_cast<unsigned char>(bytes[sorted[i] & offsetMask]);
        if (last && (header & kindMask) != emptyCell) {
            sorted[kept++] = sorted[i];
        }
    }
    sorted.resize(kept);
    return sorted;
}

void WorksheetCells::compact()
{
    const std::vector<std::uint64_t> sorted = sortedPositions();
    Packed ordered;
    for (const std::uint64_t position : sorted) {
        ordered.put(valueAt(m_packed.bytes, position));
    }
    m_packed = std::move(ordered);
    m_unordered = false;
}

void WorksheetCells::finish()
{
    if (m_unordered) {
        // Read through the sorted positions: rewriting the values would hold them twice.
        m_order = sortedPositions();
        m_byOrder = true;
        m_unordered = false;
    }
}

void WorksheetCells::reserve(std::size_t bytes)
{
    m_packed.bytes.reserve(bytes);
    adviseHugePages(m_packed.bytes.data(), m_packed.bytes.capacity());
}

void WorksheetCells::moveValuesTo(WorksheetCells& batch)
{
    batch.m_packed.bytes.clear();
    std::swap(batch.m_packed.bytes, m_packed.bytes);
    batch.m_packed.count = m_packed.count;
    batch.m_packed.lastRow = m_packed.lastRow;
    batch.m_packed.lastColumn = m_packed.lastColumn;
    batch.m_sharedIndexBound = m_sharedIndexBound;
    batch.rows = rows;
    batch.columns = columns;
    batch.rowsInOrder = true;
    batch.m_unordered = false;
    batch.m_byOrder = false;
    batch.m_order.clear();
    batch.m_released = 0;
    // The next value starts a batch of its own: its row and column are written out.
    m_packed.count = 0;
}

void WorksheetCells::releaseReadValues(std::size_t offset)
{
#if defined(__linux__)
    // Whole pages only, a few megabytes at a time; the pages read as zeros if touched again.
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    constexpr std::uintptr_t leastRelease = std::uintptr_t{4} << 20;
    if (m_byOrder || offset > m_packed.bytes.size() || page == 0) {
        return;
    }
    const auto base = reinterpret_cast<std::uintptr_t>(m_packed.bytes.data());
    const std::uintptr_t from = (base + m_released + page - 1) / page * page;
    const std::uintptr_t to = (base + offset) / page * page;
    if (to < from + leastRelease) {
        return;
    }
    if (madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED) == 0) {
        m_released = to - base;
    }
#else
    (void)offset;
#endif
}

bool WorksheetCells::Reader::next(SheetValue& value)
{
    const PackedBytes& bytes = m_cells->m_packed.bytes;
    if (m_cells->m_byOrder) {
        if (m_at == m_cells->m_order.size()) {
            return false;
        }
        value = valueAt(bytes, m_cells->m_order[m_at++]);
        return true;
    }
    unsigned char code = emptyCell;
    while (code == emptyCell) {
        if (m_at == bytes.size()) {
            return false;
        }
        m_at = decode(bytes, m_at, m_row, m_column, value, code);
    }
    return true;
}

} // namespace setzaiko::xlsx
