#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

// Appends raw text (false) or a raw attribute value (true) as a parser hands it on:
// references replaced, line ends made "\n", and in an attribute value white space made spaces.
void appendDecoded(std::string_view raw, std::string& out, bool attribute);

} // namespace setzaiko::xlsx::xmltext
