// How WorksheetCells packs its values: for each, a kind byte whose flags say whether the
// value stands in the row of the value before it and in the next column; the row and the
// column as variable-length numbers where they do not; then the number (8 bytes), the shared
// string's index (variable length), or the text's length (variable length) and bytes.

#include "import/xlsx/WorksheetCells.h"

#include <algorithm>
#include <cstring>

namespace setzaiko::xlsx {

namespace {

constexpr unsigned char kindMask = 0x03;
constexpr unsigned char sameRow = 0x04;
constexpr unsigned char nextColumn = 0x08;

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

void WorksheetCells::append(const SheetValue& value)
{
    auto header = static_cast<unsigned char>(value.kind);
    const bool follows = m_count > 0;
    if (follows && value.row == m_lastRow) {
        header |= sameRow;
    }
    if (follows && value.column == m_lastColumn + 1) {
        header |= nextColumn;
    }
    m_bytes.push_back(static_cast<char>(header));
    if (!(header & sameRow)) {
        putNumber(m_bytes, value.row);
    }
    if (!(header & nextColumn)) {
        putNumber(m_bytes, value.column);
    }
    switch (value.kind) {
    case SheetValue::Kind::Number: {
        char bytes[sizeof(double)];
        std::memcpy(bytes, &value.number, sizeof bytes);
        m_bytes.append(bytes, sizeof bytes);
        break;
    }
    case SheetValue::Kind::SharedText:
        putNumber(m_bytes, value.sharedIndex);
        break;
    case SheetValue::Kind::Text:
    case SheetValue::Kind::EscapedText:
        putNumber(m_bytes, value.text.size());
        m_bytes.append(value.text);
        break;
    }
    m_lastRow = value.row;
    m_lastColumn = value.column;
    ++m_count;
}

bool WorksheetCells::Reader::next(SheetValue& value)
{
    const std::string& bytes = m_cells->m_bytes;
    if (m_at == bytes.size()) {
        return false;
    }
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
