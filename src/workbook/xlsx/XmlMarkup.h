#pragma once

#include "workbook/xlsx/XmlText.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

// The markup of XML as the reader's own scanner reads it: white space, names, attributes as a
// tag spells them, and the start tag of a worksheet cell in the shapes the scanner hands on
// whole.
namespace setzaiko::xlsx::xmltext {

inline bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

constexpr bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

inline constexpr std::array<bool, 256> nameChars = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const auto u = static_cast<unsigned char>(c);
        table[u] = isLetter(u) || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':';
    }
    return table;
}();

template <typename Word>
inline Word wordAt(const char* p)
{
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Compares two names, or a few bytes of markup. They are a few bytes long, so words compared
// in place beat a call: eight bytes at a time, the last word overlapping the one before, or
// two overlapping words of four, never reading past either.
inline bool sameName(std::string_view a, std::string_view b)
{
    const std::size_t size = a.size();
    if (size != b.size()) {
        return false;
    }
    const char* x = a.data();
    const char* y = b.data();
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8) {
            if (wordAt<std::uint64_t>(x + i) != wordAt<std::uint64_t>(y + i)) {
                return false;
            }
        }
        return wordAt<std::uint64_t>(x + size - 8) == wordAt<std::uint64_t>(y + size - 8);
    }
    if (size >= 4) {
        return wordAt<std::uint32_t>(x) == wordAt<std::uint32_t>(y) &&
               wordAt<std::uint32_t>(x + size - 4) == wordAt<std::uint32_t>(y + size - 4);
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (x[i] != y[i]) {
            return false;
        }
    }
    return true;
}

// An attribute as the tag spells it, in the scanner's buffer.
struct RawAttribute
{
    char* nameBegin;
    char* nameEnd;
    char* valueBegin;
    char* valueEnd; // its closing quote

    std::string_view name() const
    {
        return {nameBegin, static_cast<std::size_t>(nameEnd - nameBegin)};
    }
    std::string_view value() const
    {
        return {valueBegin, static_cast<std::size_t>(valueEnd - valueBegin)};
    }
};

// More attributes than a cell has: a cell with more is read as any element is.
inline constexpr std::size_t maxCellAttributes = 8;
// What a cell's start tag is to the scanner: Plain, it is read; NeedMore, the buffer ends
// before it does; Other, it is read as any element is.
enum class CellTagShape : std::uint8_t { Plain, NeedMore, Other };

// The attributes of a cell as nearly every writer stores them: r, s and t alone, each at
// most once, one space before each, the value in double quotes and needing no decoding.
// Reads them into found and p past the tag's end, telling whether the cell is empty; false
// where they have any other shape or the buffer ends first.
inline bool plainCellAttributes(char*& p, const char* end,
                                std::array<RawAttribute, maxCellAttributes>& found,
                                std::size_t& count, bool& empty)
{
    unsigned seen = 0;
    for (;;) {
        if (end - p < 4) {
            return false;
        }
        if (p[0] == '>' || (p[0] == '/' && p[1] == '>')) {
            empty = p[0] == '/';
            p += empty ? 2 : 1;
            return true;
        }
        const char name = p[1];
        const unsigned bit = name == 'r' ? 1u : name == 's' ? 2u : name == 't' ? 4u : 0u;
        if (p[0] != ' ' || p[2] != '=' || p[3] != '"' || bit == 0 || (seen & bit) != 0) {
            return false;
        }
        seen |= bit;
        char* valueBegin = p + 4;
        char* stop = valueBegin + (attributeValueStop(valueBegin, end, '"') - valueBegin);
        if (stop == end || *stop != '"') {
            return false;
        }
        found[count++] = {p + 1, p + 2, valueBegin, stop};
        p = stop + 1;
    }
}

// The attributes of the cell whose name ends at p, read as plainCellAttributes reads them
// (found empty before): Plain where they are names of letters alone (no prefix, so no
// namespace to resolve) with values that need no decoding, none twice and none declaring a
// namespace. The plainest shape is tried first; any other is read again from p.
inline CellTagShape cellAttributes(char*& p, const char* end,
                                   std::array<RawAttribute, maxCellAttributes>& found,
                                   std::size_t& count, bool& empty)
{
    char* const start = p;
    if (plainCellAttributes(p, end, found, count, empty)) {
        return CellTagShape::Plain;
    }
    p = start;
    count = 0;
    const auto byte = [](char c) { return static_cast<unsigned char>(c); };
    for (;;) {
        const char* before = p;
        while (p < end && isSpace(*p)) {
            ++p;
        }
        if (p == end) {
            return CellTagShape::NeedMore;
        }
        if (*p == '>' || *p == '/') {
            empty = *p++ == '/';
            if (empty && p == end) {
                return CellTagShape::NeedMore;
            }
            if (empty && *p++ != '>') {
                return CellTagShape::Other;
            }
            break;
        }
        if (p == before || count == maxCellAttributes || !isLetter(byte(*p))) {
            return CellTagShape::Other;
        }
        char* nameBegin = p;
        while (p < end && isLetter(byte(*p))) {
            ++p;
        }
        char* nameStop = p;
        if (end - p < 2) {
            return CellTagShape::NeedMore;
        }
        if (*p != '=' || (p[1] != '"' && p[1] != '\'')) {
            return CellTagShape::Other;
        }
        const char quote = p[1];
        p += 2;
        char* valueBegin = p;
        p += attributeValueStop(p, end, quote) - p;
        if (p == end) {
            return CellTagShape::NeedMore;
        }
        if (*p != quote) {
            return CellTagShape::Other; // to be checked or decoded
        }
        found[count++] = {nameBegin, nameStop, valueBegin, p};
        ++p;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (found[i].name() == "xmlns") {
            return CellTagShape::Other;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (sameName(found[i].name(), found[j].name())) {
                return CellTagShape::Other;
            }
        }
    }
    return CellTagShape::Plain;
}

} // namespace setzaiko::xlsx::xmltext
