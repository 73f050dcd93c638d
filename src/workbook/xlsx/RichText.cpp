#include "workbook/xlsx/RichText.h"

#include <QStringDecoder>
#include <QVarLengthArray>

namespace setzaiko::xlsx {

namespace {

// xml:space as the element sets it, or the inherited value when it says nothing.
bool preserves(const char** attributes, bool inherited)
{
    const char* space = attribute(attributes, XmlNamespace::Xml, "space");
    if (!space) {
        return inherited;
    }
    return std::string_view(space) == "preserve";
}

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The code unit of an escape at the start of text, or -1.
int escapeAt(std::string_view text)
{
    if (text.size() < 7 || text[0] != '_' || text[1] != 'x' || text[6] != '_') {
        return -1;
    }
    int value = 0;
    for (int i = 2; i < 6; ++i) {
        const int digit = hexValue(text[static_cast<std::size_t>(i)]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

// A UTF-8 decoder that keeps a U+FEFF at the start as a character.
QStringDecoder decoderKeepingBom()
{
    return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                    QStringDecoder::Flag::ConvertInitialBom);
}

} // namespace

QString textFromUtf8(std::string_view utf8)
{
    if (!utf8.starts_with("\xEF\xBB\xBF")) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }
    return decoderKeepingBom().decode(
        QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

namespace {

// Decodes well-formed UTF-8 (no overlong form, no surrogate, nothing beyond U+10FFFF) into out,
// which has room for a unit a byte; returns the units written, or -1 where the bytes are not
// well-formed.
qsizetype decodeChecked(const unsigned char* p, const unsigned char* end, char16_t* out)
{
    char16_t* const first = out;
    while (p < end) {
        const unsigned lead = *p;
        if (lead < 0x80) {
            *out++ = static_cast<char16_t>(lead);
            ++p;
            continue;
        }
        const std::ptrdiff_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (length == 0 || lead > 0xF4 || end - p < length) {
            return -1;
        }
        for (std::ptrdiff_t k = 1; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return -1;
            }
        }
        const unsigned second = p[1];
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
            return -1;
        }
        if (length == 2) {
            *out++ = static_cast<char16_t>(((lead & 0x1F) << 6) | (second & 0x3F));
        } else if (length == 3) {
            *out++ = static_cast<char16_t>(((lead & 0x0F) << 12) | ((second & 0x3F) << 6) |
                                           (p[2] & 0x3F));
        } else {
            const char32_t c = ((lead & 0x07) << 18) | ((second & 0x3F) << 12) |
                               ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            *out++ = QChar::highSurrogate(c);
            *out++ = QChar::lowSurrogate(c);
        }
        p += length;
    }
    return out - first;
}

} // namespace

QString exactText(std::string_view utf8)
{
    const auto* begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = begin + utf8.size();
    // Decoded once, checked on the way, into memory at hand (on the stack for the short texts
    // most of a sheet's are), then copied into a string of its size.
    QVarLengthArray<char16_t, 256> units(static_cast<qsizetype>(utf8.size()));
    const qsizetype count = decodeChecked(begin, end, units.data());
    if (count >= 0) {
        return QString(reinterpret_cast<const QChar*>(units.data()), count);
    }
    // Bytes that are not UTF-8 come out as Qt decodes them, at their size.
    QString text = textFromUtf8(utf8);
    if (text.capacity() > text.size()) {
        text.squeeze();
    }
    return text;
}

QString decodeEscapes(std::string_view utf8)
{
    const std::size_t first = utf8.find("_x");
    if (first == std::string_view::npos) {
        return exactText(utf8);
    }
    QString text;
    std::size_t plainStart = 0;
    std::size_t at = first;
    while (at != std::string_view::npos) {
        const int unit = escapeAt(utf8.substr(at));
        if (unit < 0) {
            at = utf8.find("_x", at + 1);
            continue;
        }
        text += textFromUtf8(utf8.substr(plainStart, at - plainStart));
        text += QChar(static_cast<char16_t>(unit));
        plainStart = at + 7;
        at = utf8.find("_x", plainStart);
    }
    text += textFromUtf8(utf8.substr(plainStart));
    text.squeeze();
    return text;
}

void RichText::begin(const char** attributes)
{
    m_depth = 0;
    m_inRun = false;
    m_capturing = false;
    m_itemPreserves = preserves(attributes, false);
    m_text.clear();
}

void RichText::startElement(const XmlName& name, const char** attributes)
{
    ++m_depth;
    if (name.space != XmlNamespace::Spreadsheet) {
        return;
    }
    if (m_depth == 1 && name.local == "r") {
        m_inRun = true;
        m_runPreserves = preserves(attributes, m_itemPreserves);
    } else if (name.local == "t" && (m_depth == 1 || (m_depth == 2 && m_inRun))) {
        m_capturing = true;
        m_textPreserves = preserves(attributes, m_depth == 1 ? m_itemPreserves : m_runPreserves);
        m_run.clear();
    }
}

void RichText::endElement(const XmlName& name)
{
    if (m_capturing) {
        m_capturing = false;
        m_text.append(m_textPreserves ? std::string_view(m_run) : trimmed(m_run));
    } else if (m_depth == 1 && name.is(XmlNamespace::Spreadsheet, "r")) {
        m_inRun = false;
    }
    --m_depth;
}

void RichText::takeText(std::string_view text, bool preserves)
{
    m_depth = 0;
    m_inRun = false;
    m_capturing = false;
    m_itemPreserves = false;
    m_text.assign(preserves ? text : trimmed(text));
}

QString RichText::finish()
{
    return decodeEscapes(m_text);
}

} // namespace setzaiko::xlsx
