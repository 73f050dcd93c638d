// How WorksheetCells packs its values: for each, a kind byte whose flags say whether the
// value stands in the row of the value before it and in the next column; the row and the
// column as variable-length numbers where they do not; then the number (8 bytes), the shared
// string's index (variable length), or the text's length (variable length) and bytes. A value
// never spans two blocks, and a block is never grown once begun, so appending copies nothing
// already packed.

#include "import/xlsx/WorksheetCells.h"

#include <algorithm>
#include <cstring>

namespace setzaiko::xlsx {

namespace {

constexpr unsigned char kindMask = 0x03;
constexpr unsigned char sameRow = 0x04;
constexpr unsigned char nextColumn = 0x08;
// The most bytes a value takes besides its text: kind, row, column and the text's length.
constexpr std::size_t mostBesidesText = 1 + 5 + 3 + 10;
constexpr std::size_t smallestBlock = 4096;

void putNumber(std::string& out, std::uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<char>(0x80 | (value & 0x7F)));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

std::uint64_t takeNumber(const std::string& in, std::size_t& at)
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

} // namespace

void WorksheetCells::expect(std::size_t bytes)
{
    m_blockSize = std::clamp(bytes, smallestBlock, m_blockSize);
}

void WorksheetCells::append(const SheetValue& value)
{
    const std::size_t most = mostBesidesText + value.text.size();
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < most) {
        m_blocks.emplace_back().reserve(std::max(m_blockSize, most));
    }
    std::string& block = m_blocks.back();
    auto header = static_cast<unsigned char>(value.kind);
    const bool follows = m_count > 0;
    if (follows && value.row == m_lastRow) {
        header |= sameRow;
    }
    if (follows && value.column == m_lastColumn + 1) {
        header |= nextColumn;
    }
    block.push_back(static_cast<char>(header));
    if (!(header & sameRow)) {
        putNumber(block, value.row);
    }
    if (!(header & nextColumn)) {
        putNumber(block, value.column);
    }
    switch (value.kind) {
    case SheetValue::Kind::Number: {
        char bytes[sizeof(double)];
        std::memcpy(bytes, &value.number, sizeof bytes);
        block.append(bytes, sizeof bytes);
        break;
    }
    case SheetValue::Kind::SharedText:
        putNumber(block, value.sharedIndex);
        break;
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText:
        putNumber(block, value.text.size());
        block.append(value.text);
        break;
    }
    m_lastRow = value.row;
    m_lastColumn = value.column;
    ++m_count;
}

WorksheetCells::Reader WorksheetCells::Reader::consuming(WorksheetCells& cells)
{
    Reader reader(cells);
    reader.m_owner = &cells;
    return reader;
}

bool WorksheetCells::Reader::next(SheetValue& value)
{
    const std::vector<std::string>& blocks = m_cells->m_blocks;
    while (m_block < blocks.size() && m_at == blocks[m_block].size()) {
        if (m_owner) {
            std::string().swap(m_owner->m_blocks[m_block]);
        }
        ++m_block;
        m_at = 0;
    }
    if (m_block == blocks.size()) {
        return false;
    }
    const std::string& bytes = blocks[m_block];
    const auto header = static_cast<unsigned char>(bytes[m_at++]);
    value.kind = static_cast<SheetValue::Kind>(header & kindMask);
    if (!(header & sameRow)) {
        m_row = static_cast<std::uint32_t>(takeNumber(bytes, m_at));
    }
    if (header & nextColumn) {
        ++m_column;
    } else {
        m_column = static_cast<std::uint16_t>(takeNumber(bytes, m_at));
    }
    value.row = m_row;
    value.column = m_column;
    switch (value.kind) {
    case SheetValue::Kind::Number:
        std::memcpy(&value.number, bytes.data() + m_at, sizeof(double));
        m_at += sizeof(double);
        break;
    case SheetValue::Kind::SharedText:
        value.sharedIndex = static_cast<std::uint32_t>(takeNumber(bytes, m_at));
        break;
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText: {
        const auto size = static_cast<std::size_t>(takeNumber(bytes, m_at));
        value.text = std::string_view(bytes.data() + m_at, size);
        m_at += size;
        break;
    }
    }
    return true;
}

std::vector<SheetValue> WorksheetCells::valuesByRow() const
{
    std::vector<SheetValue> values;
    values.reserve(m_count);
    Reader reader(*this);
    SheetValue value;
    while (reader.next(value)) {
        values.push_back(value);
    }
    if (!rowsInOrder) {
        std::stable_sort(values.begin(), values.end(),
                         [](const SheetValue& a, const SheetValue& b) { return a.row < b.row; });
    }
    return values;
}

} // namespace setzaiko::xlsx
