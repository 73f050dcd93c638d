#pragma once

#include <QtEndian>

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The text of XML as the reader's own scanner reads it: the bytes that need more than passing
// on, the references, line ends and white space a parser replaces, UTF-8 checked on the way.
// Anything the scanner does not read itself makes these throw LeaveToExpat.
namespace setzaiko::xlsx::xmltext {

// Thrown where the part is left to expat; never leaves the scanner.
struct LeaveToExpat
{};

[[noreturn]] void leave();

// ASCII bytes that text (false) or an attribute value (true) cannot simply pass on.
constexpr std::array<bool, 128> specialIn(bool attribute)
{
    std::array<bool, 128> table{};
    for (int c = 0; c < 0x20; ++c) {
        table[static_cast<std::size_t>(c)] = attribute || (c != '\t' && c != '\n');
    }
    table['&'] = true;
    table[attribute ? '<' : ']'] = true;
    return table;
}
inline constexpr std::array<bool, 128> textSpecial = specialIn(false);
inline constexpr std::array<bool, 128> attributeSpecial = specialIn(true);

// The length of the UTF-8 sequence of one XML character whose lead byte is at p (not ASCII),
// or 0 where the bytes are not one.
inline std::size_t charLength(const unsigned char* p, const unsigned char* end)
{
    const auto more = [&](std::size_t k) { return end - p > static_cast<std::ptrdiff_t>(k); };
    const auto follows = [&](std::size_t k) { return more(k) && (p[k] & 0xC0) == 0x80; };
    const unsigned c = p[0];
    if (c >= 0xC2 && c <= 0xDF) {
        return follows(1) ? 2 : 0;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        if (!follows(1) || !follows(2) || (c == 0xE0 && p[1] < 0xA0) ||
            (c == 0xED && p[1] >= 0xA0) || (c == 0xEF && p[1] == 0xBF && p[2] >= 0xBE)) {
            return 0; // overlong, a surrogate, U+FFFE or U+FFFF
        }
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!follows(1) || !follows(2) || !follows(3) || (c == 0xF0 && p[1] < 0x90) ||
            (c == 0xF4 && p[1] >= 0x90)) {
            return 0;
        }
        return 4;
    }
    return 0;
}

// Where the first byte of raw lies that needs more than passing on; raw.end() if none. Checks
// the UTF-8 on the way.
inline const char* firstSpecial(const char* p, const char* end,
                                const std::array<bool, 128>& special)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const auto* e = reinterpret_cast<const unsigned char*>(end);
    while (u < e) {
        if (*u < 0x80) {
            if (special[*u]) {
                break;
            }
            ++u;
        } else {
            const std::size_t n = charLength(u, e);
            if (n == 0) {
                leave();
            }
            u += n;
        }
    }
    return reinterpret_cast<const char*>(u);
}

// Where the attribute value that starts at p stops: at its closing quote, or at the first byte
// before it that needs more than passing on (attributeSpecial, or not ASCII); end if neither
// comes before it. Eight bytes at a time, as a cell's values are short and many.
inline const char* attributeValueStop(const char* p, const char* end, char quote)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    // The high bit of each byte below n (at most 0x80); a borrow only runs into the bytes after
    // the first that is, so the first marked is right.
    const auto below = [](std::uint64_t x, unsigned n) { return (x - ones * n) & ~x & highs; };
    const auto equal = [&](std::uint64_t x, char c) {
        return below(x ^ (ones * static_cast<unsigned char>(c)), 1);
    };
    static_assert(attributeSpecial['&'] && attributeSpecial['<'] && attributeSpecial[0x1F] &&
                  !attributeSpecial[' '] && !attributeSpecial['"'] && !attributeSpecial['>']);
    for (; end - p >= 8; p += 8) {
        std::uint64_t x = 0;
        std::memcpy(&x, p, sizeof x);
        x = qFromLittleEndian(x); // the first byte lowest
        const std::uint64_t stops =
            equal(x, quote) | equal(x, '&') | equal(x, '<') | below(x, 0x20) | (x & highs);
        if (stops != 0) {
            return p + std::countr_zero(stops) / 8;
        }
    }
    for (; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (*p == quote || c >= 0x80 || attributeSpecial[c]) {
            break;
        }
    }
    return p;
}

// Appends raw text (false) or a raw attribute value (true) as a parser hands it on:
// references replaced, line ends made "\n", and in an attribute value white space made spaces.
void appendDecoded(std::string_view raw, std::string& out, bool attribute);

} // namespace setzaiko::xlsx::xmltext
