#include "common/IconvCp932Encoder.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <stdexcept>

namespace setzaiko {

namespace {

struct FixedMapping
{
    char32_t codePoint;
    const char* bytes;
};

// What Windows writes for characters outside the strict code page 932 table (its best-fit
// mappings), and the wave dash / double vertical line that Windows maps to the full-width
// forms. They are applied before the converter, so a C library whose table differs cannot
// change them. Sorted by code point.
constexpr FixedMapping fixedMappings[] = {
    {U'\u00A2', "\x81\x91"}, // CENT SIGN as FULLWIDTH CENT SIGN
    {U'\u00A3', "\x81\x92"}, // POUND SIGN as FULLWIDTH POUND SIGN
    {U'\u00A5', "\x5C"},     // YEN SIGN as the single byte 5C, the yen of Japanese fonts
    {U'\u00AC', "\x81\xCA"}, // NOT SIGN as FULLWIDTH NOT SIGN
    {U'\u2014', "\x81\x5C"}, // EM DASH as HORIZONTAL BAR
    {U'\u2016', "\x81\x61"}, // DOUBLE VERTICAL LINE as PARALLEL TO
    {U'\u203E', "\x7E"},     // OVERLINE as the single byte 7E
    {U'\u2212', "\x81\x7C"}, // MINUS SIGN as FULLWIDTH HYPHEN-MINUS
    {U'\u301C', "\x81\x60"}, // WAVE DASH as FULLWIDTH TILDE
};

const char* fixedMapping(char32_t codePoint)
{
    const auto* const found = std::lower_bound(
        std::begin(fixedMappings), std::end(fixedMappings), codePoint,
        [](const FixedMapping& mapping, char32_t key) { return mapping.codePoint < key; });
    if (found != std::end(fixedMappings) && found->codePoint == codePoint) {
        return found->bytes;
    }
    return nullptr;
}

constexpr const char* utf16Name = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";

} // namespace

IconvCp932Encoder::IconvCp932Encoder() : m_converter(iconv_open("CP932", utf16Name))
{
    if (m_converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv has no CP932 converter");
    }
}

IconvCp932Encoder::~IconvCp932Encoder()
{
    iconv_close(m_converter);
}

QByteArray IconvCp932Encoder::encode(const QString& text) const
{
    const auto* const chars = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype length = text.size();
    qsizetype asciiPrefix = 0;
    while (asciiPrefix < length && chars[asciiPrefix] < 0x80) {
        ++asciiPrefix;
    }
    // Code page 932 keeps ASCII as it is, and most texts are nothing else.
    if (asciiPrefix == length) {
        return text.toLatin1();
    }

    QByteArray out;
    out.reserve(length * 2);
    for (qsizetype i = 0; i < asciiPrefix; ++i) {
        out.append(static_cast<char>(chars[i]));
    }

    const std::lock_guard lock(m_mutex);
    qsizetype runStart = asciiPrefix;
    auto flushRun = [&](qsizetype runEnd) {
        if (runEnd > runStart) {
            convertRun(chars + runStart, runEnd - runStart, out);
        }
    };
    qsizetype i = asciiPrefix;
    while (i < length) {
        const char16_t unit = chars[i];
        if (unit < 0x80) {
            flushRun(i);
            out.append(static_cast<char>(unit));
            runStart = ++i;
            continue;
        }
        char32_t codePoint = unit;
        qsizetype units = 1;
        if (QChar::isSurrogate(unit)) {
            if (QChar::isHighSurrogate(unit) && i + 1 < length &&
                QChar::isLowSurrogate(chars[i + 1])) {
                codePoint = QChar::surrogateToUcs4(unit, chars[i + 1]);
                units = 2;
            } else {
                // A lone surrogate is no character at all.
                flushRun(i);
                out.append('?');
                runStart = ++i;
                continue;
            }
        }
        if (const char* bytes = fixedMapping(codePoint)) {
            flushRun(i);
            out.append(bytes);
            i += units;
            runStart = i;
            continue;
        }
        i += units;
    }
    flushRun(length);
    return out;
}

void IconvCp932Encoder::convertRun(const char16_t* run, qsizetype length, QByteArray& out) const
{
    // Code page 932 needs at most two bytes for a UTF-16 code unit, so the output never runs
    // out of room and E2BIG cannot occur.
    const qsizetype start = out.size();
    out.resize(start + 2 * length);
    char* input = reinterpret_cast<char*>(const_cast<char16_t*>(run));
    std::size_t inputLeft = static_cast<std::size_t>(length) * sizeof(char16_t);
    char* output = out.data() + start;
    std::size_t outputLeft = static_cast<std::size_t>(2 * length);

    iconv(m_converter, nullptr, nullptr, nullptr, nullptr);
    while (inputLeft > 0) {
        if (iconv(m_converter, &input, &inputLeft, &output, &outputLeft) !=
            static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG || outputLeft == 0) {
            break; // cannot happen, see above; never write past the buffer
        }
        // The character at the input position has no code page 932 form: one "?" for it,
        // a surrogate pair being one character.
        const std::size_t skip = QChar::isHighSurrogate(*reinterpret_cast<const char16_t*>(input))
                                     ? 2 * sizeof(char16_t)
                                     : sizeof(char16_t);
        *output++ = '?';
        --outputLeft;
        input += std::min(skip, inputLeft);
        inputLeft -= std::min(skip, inputLeft);
    }
    out.resize(out.size() - static_cast<qsizetype>(outputLeft));
}

} // namespace setzaiko
