#include "workbook/xlsx/XmlText.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

namespace setzaiko::xlsx::xmltext {

void leave()
{
    throw LeaveToExpat{};
}

namespace {

bool isXmlChar(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Writes c as UTF-8 at out; returns the byte after it.
char* putUtf8(char* out, std::uint32_t c)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

int digitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (hex && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (hex && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Writes the character of the decimal reference at p ('&') at out, where it is one of a
// character of more than one byte, of at most seven digits, that ends within the text; returns
// the byte after its ';' and moves out past what it wrote, or returns nullptr and writes
// nothing. The digits are read eight bytes at a time, so that the number of digits, which
// varies from one reference to the next, costs no branch.
inline const char* putDecimalReference(const char* p, const char* end, char*& out)
{
    if (end - p < 4 || p[1] != '#') {
        return nullptr;
    }
    // Near the text's end, its last bytes and zeros, which are no digits.
    const auto available = std::min<std::size_t>(static_cast<std::size_t>(end - p - 2), 8);
    std::uint64_t bytes = 0;
    if (available == sizeof bytes) {
        std::memcpy(&bytes, p + 2, sizeof bytes);
    } else {
        std::memcpy(&bytes, p + 2, available);
    }
    bytes = qFromLittleEndian(bytes); // the first byte lowest
    // A digit's byte XOR '0' is 0 to 9, and adding 6 keeps it below 16; any other byte has a
    // high bit set in either. A carry only runs into bytes after the first that is no digit.
    const std::uint64_t low = bytes ^ 0x3030303030303030u;
    const std::uint64_t notDigits = ((low + 0x0606060606060606u) | low) & 0xF0F0F0F0F0F0F0F0u;
    if (notDigits == 0) {
        return nullptr;
    }
    const int digits = std::countr_zero(notDigits) / 8;
    const char* semicolon = p + 2 + digits;
    if (digits == 0 || static_cast<std::size_t>(digits) == available || *semicolon != ';') {
        return nullptr;
    }
    // The digits moved to the top, zeros before them, then paired up into a value.
    std::uint64_t value = low << (8 * (8 - digits));
    value = (value * (10 * 256 + 1)) >> 8 & 0x00FF00FF00FF00FFu;
    value = (value * (100 * 65536 + 1)) >> 16 & 0x0000FFFF0000FFFFu;
    value = (value * (10000 * (std::uint64_t{1} << 32) + 1)) >> 32;
    const auto c = static_cast<std::uint32_t>(value);
    if (c < 0x80 || !isXmlChar(c)) {
        return nullptr;
    }
    out = putUtf8(out, c);
    return semicolon + 1;
}

// Writes what the reference at p ('&') stands for at out, which never takes more bytes than
// the reference; returns the byte after its ';' and moves out past what it wrote.
const char* putReference(const char* p, const char* end, char*& out)
{
    if (end - p > 2 && p[1] == '#') {
        const bool hex = p[2] == 'x';
        const char* q = p + (hex ? 3 : 2);
        const char* digits = q;
        std::uint32_t value = 0;
        // Decimal references, as some writers spell every character outside ASCII, in a loop
        // of their own.
        for (; !hex && q < end && *q >= '0' && *q <= '9' && value <= 0x10FFFF; ++q) {
            value = value * 10 + static_cast<std::uint32_t>(*q - '0');
        }
        for (; q < end && *q != ';'; ++q) {
            const int digit = digitValue(*q, hex);
            if (digit < 0 || value > 0x10FFFF) {
                leave();
            }
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        if (value > 0x10FFFF) {
            leave();
        }
        if (q == end || q == digits || !isXmlChar(value)) {
            leave();
        }
        out = putUtf8(out, value);
        return q + 1;
    }
    const std::string_view rest(p + 1,
                                static_cast<std::size_t>(std::min<std::ptrdiff_t>(end - p - 1, 5)));
    const struct
    {
        std::string_view name;
        char c;
    } entities[] = {{"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"apos;", '\''}, {"quot;", '"'}};
    for (const auto& entity : entities) {
        if (rest.starts_with(entity.name)) {
            *out++ = entity.c;
            return p + 1 + entity.name.size();
        }
    }
    leave(); // no other entity is declared
}

} // namespace

void appendDecoded(std::string_view raw, std::string& out, bool attribute)
{
    const auto& special = attribute ? attributeSpecial : textSpecial;
    const std::size_t start = out.size();
    out.resize(start + raw.size()); // nothing decodes to more bytes than it takes raw
    char* w = out.data() + start;
    const char* p = raw.data();
    const char* end = p + raw.size();
    while (p < end) {
        const char* stop = firstSpecial(p, end, special);
        if (stop != p) {
            std::memcpy(w, p, static_cast<std::size_t>(stop - p));
            w += stop - p;
            p = stop;
            if (p == end) {
                break;
            }
        }
        const char c = *p;
        if (c == '&') {
            // Some writers spell every character outside ASCII as a decimal reference, one
            // after another: those are read here, anything else as any reference is.
            if (const char* next = putDecimalReference(p, end, w)) {
                p = next;
                continue;
            }
            p = putReference(p, end, w);
        } else if (c == '\r') {
            *w++ = attribute ? ' ' : '\n';
            p += (p + 1 < end && p[1] == '\n') ? 2 : 1;
        } else if (c == '\t' || c == '\n') {
            *w++ = ' '; // in an attribute value only
            ++p;
        } else if (c == ']') {
            if (end - p >= 3 && p[1] == ']' && p[2] == '>') {
                leave();
            }
            *w++ = c;
            ++p;
        } else {
            leave(); // a control character, or '<' in an attribute value
        }
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
}

} // namespace setzaiko::xlsx::xmltext
