#include "workbook/xlsx/XmlScanner.h"

#include "workbook/xlsx/XmlMarkup.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/XmlText.h"
#include "workbook/xlsx/ZipArchive.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace setzaiko::xlsx {

namespace {

using namespace xmltext;

constexpr std::size_t chunkSize = 1024 * 1024;
// More attributes than any workbook element has: their pairwise checks stay cheap.
constexpr std::size_t maxAttributes = 64;
// Text without a following '<' in a buffer this full is handed on in pieces.
constexpr std::size_t longText = 64 * 1024;

constexpr std::string_view xmlUri = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view xmlnsUri = "http://www.w3.org/2000/xmlns/";

// Where a name's first colon stands, or its size; names are short: no call to memchr.
std::size_t colonIn(std::string_view name)
{
    std::size_t colon = 0;
    while (colon < name.size() && name[colon] != ':') {
        ++colon;
    }
    return colon;
}

bool hasColon(std::string_view name)
{
    return colonIn(name) != name.size();
}

struct Binding
{
    std::string prefix; // empty: the default namespace
    std::string uri;
    XmlNamespace space;
    std::size_t depth; // of the element that declares it
};

struct OpenElement
{
    std::size_t nameStart; // of its qualified name in the name stack
    std::size_t localStart;
    XmlNamespace space;
};

class Scanner
{
public:
    Scanner(const ReadPart& read, std::uint64_t partSize, XmlHandler& handler)
        : m_read(read), m_handler(handler)
    {
        m_buffer.resize(
            static_cast<std::size_t>(std::clamp<std::uint64_t>(partSize + 1, 4096, chunkSize)));
    }

    bool run()
    {
        prolog();
        for (;;) {
            char* begin = m_buffer.data() + m_pos;
            char* end = m_buffer.data() + m_end;
            const char* next = begin == end ? nullptr : token(begin, end);
            if (!next) {
                if (m_eof) {
                    return m_rootDone && m_pos == m_end;
                }
                // Once the part's end is known, what is left is read again knowing it.
                fill();
                continue;
            }
            m_pos = static_cast<std::size_t>(next - m_buffer.data());
        }
    }

private:
    // Makes more of the part available after what is unread; false at the part's end.
    bool fill()
    {
        if (m_pos > 0) {
            std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
            m_end -= m_pos;
            m_pos = 0;
        }
        if (m_end == m_buffer.size()) {
            m_buffer.resize(m_buffer.size() * 2);
        }
        const std::size_t n = m_read(m_buffer.data() + m_end, m_buffer.size() - m_end);
        m_end += n;
        m_eof = n == 0;
        return !m_eof;
    }

    // Passes over the byte order mark and the XML declaration, when there.
    void prolog()
    {
        while (m_end < 4096 && fill()) {
        }
        std::string_view start(m_buffer.data(), m_end);
        if (start.starts_with("\xEF\xBB\xBF")) {
            m_pos = 3;
            start.remove_prefix(3);
        }
        if (!start.starts_with("<?xml") || start.size() < 6 || !isSpace(start[5])) {
            return;
        }
        const std::size_t close = start.find("?>");
        if (close == std::string_view::npos) {
            leave(); // a declaration longer than any writer's
        }
        declaration(start.substr(5, close - 5));
        m_pos += close + 2;
    }

    static void declaration(std::string_view text)
    {
        std::size_t at = 0;
        const auto pseudoAttribute = [&](std::string_view name) -> std::string_view {
            const std::size_t before = at;
            while (at < text.size() && isSpace(text[at])) {
                ++at;
            }
            if (at == before || text.substr(at, name.size()) != name) {
                at = before;
                return {};
            }
            at += name.size();
            while (at < text.size() && isSpace(text[at])) {
                ++at;
            }
            if (at >= text.size() || text[at] != '=') {
                leave();
            }
            ++at;
            while (at < text.size() && isSpace(text[at])) {
                ++at;
            }
            if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) {
                leave();
            }
            const std::size_t close = text.find(text[at], at + 1);
            if (close == std::string_view::npos || close == at + 1) {
                leave();
            }
            const std::string_view value = text.substr(at + 1, close - at - 1);
            at = close + 1;
            return value;
        };
        if (pseudoAttribute("version") != "1.0") {
            leave();
        }
        const std::string_view encoding = pseudoAttribute("encoding");
        if (!encoding.empty() && encoding != "UTF-8" && encoding != "utf-8") {
            leave();
        }
        const std::string_view standalone = pseudoAttribute("standalone");
        if (!standalone.empty() && standalone != "yes" && standalone != "no") {
            leave();
        }
        while (at < text.size() && isSpace(text[at])) {
            ++at;
        }
        if (at != text.size()) {
            leave();
        }
    }

    // Handles the token at begin; returns the byte after it, or nullptr where the buffer does
    // not hold all of it yet.
    const char* token(char* begin, char* end)
    {
        if (*begin != '<') {
            return text(begin, end);
        }
        if (end - begin < 2) {
            return nullptr;
        }
        if (begin[1] == '/') {
            return endTag(begin, end);
        }
        if (begin[1] == '?' || begin[1] == '!' || m_rootDone) {
            leave(); // instructions, comments, CDATA, a document type, a second root
        }
        if (m_handler.takesWhole != WholeElements::None) {
            const char* next = wholeElement(begin, end);
            if (next != begin) {
                return next;
            }
        }
        return startTag(begin, end);
    }

    // Where an element opens at begin that the handler takes whole and that has the plainest
    // shape, hands it on in one call and returns the byte after it. Returns nullptr where the
    // buffer does not hold all of it yet, and begin where it has any other shape: it is then
    // read as any element is. Nothing is changed before the whole element is known to be of
    // that shape.
    const char* wholeElement(char* begin, char* end)
    {
        // Its elements stay within the depth allowed; at the part's end a cut element is the
        // general path's to refuse.
        if (m_defaultSpace != XmlNamespace::Spreadsheet ||
            m_open.size() + 3 > static_cast<std::size_t>(maxXmlDepth)) {
            return begin;
        }
        const char* next = nullptr;
        if (m_handler.takesWhole == WholeElements::Cells && begin[1] == 'c') {
            next = wholeCell(begin, end);
        } else if (m_handler.takesWhole == WholeElements::StringItems && begin[1] == 's') {
            next = wholeItem(begin, end);
        } else {
            return begin;
        }
        return next || !m_eof ? next : begin;
    }

    // The forms an element's content may take to be handed on whole: an opening, text without
    // elements, a close.
    struct Form
    {
        std::string_view opening;
        std::string_view close;
    };
    static constexpr int needMore = -1;
    static constexpr int otherShape = -2;

    // Reads the first of forms whose opening stands at p (an empty opening, no text): returns
    // its index with text as characters() would get it and p past its close, or needMore, or
    // otherShape.
    int plainContent(const char*& p, const char* end, std::span<const Form> forms,
                     std::string_view& text)
    {
        constexpr std::size_t maxText = 4096;
        const std::string_view rest(p, static_cast<std::size_t>(end - p));
        std::size_t form = 0;
        for (const Form& f : forms) {
            if (rest.size() < f.opening.size()) {
                return needMore;
            }
        }
        while (form < forms.size() &&
               !sameName(rest.substr(0, forms[form].opening.size()), forms[form].opening)) {
            ++form;
        }
        if (form == forms.size()) {
            return otherShape;
        }
        const char* start = p + forms[form].opening.size();
        const auto span = std::min<std::size_t>(static_cast<std::size_t>(end - start), maxText + 1);
        const char* lt = static_cast<const char*>(std::memchr(start, '<', span));
        if (!lt && span > maxText) {
            return otherShape;
        }
        const std::string_view close = forms[form].close;
        if (!lt || static_cast<std::size_t>(end - lt) < close.size()) {
            return needMore;
        }
        if (!sameName(std::string_view(lt, close.size()), close) ||
            (forms[form].opening.empty() && lt != start)) {
            return otherShape;
        }
        text = std::string_view(start, static_cast<std::size_t>(lt - start));
        p = lt + close.size();
        // Where the text takes expat, the element is left to the general path to take there.
        try {
            if (firstSpecial(text.data(), text.data() + text.size(), textSpecial) !=
                text.data() + text.size()) {
                m_text.clear();
                appendDecoded(text, m_text, false);
                text = m_text;
            }
        } catch (const LeaveToExpat&) {
            return otherShape;
        }
        return static_cast<int>(form);
    }

    // The commonest content of all, "<v>" with a number's characters and "</v></c>", read
    // without trying each form: where p holds it, takes its text as plainContent would and moves
    // p past it. Anything else is plainContent's.
    static bool plainValue(const char*& p, const char* end, std::string_view& text)
    {
        constexpr std::string_view opening = "<v>";
        constexpr std::string_view close = "</v></c>";
        constexpr std::ptrdiff_t longest = 32; // a number's characters, and more
        if (end - p < static_cast<std::ptrdiff_t>(opening.size() + close.size()) ||
            std::memcmp(p, opening.data(), opening.size()) != 0) {
            return false;
        }
        const char* start = p + opening.size();
        const char* limit = start + std::min(end - start, longest);
        const char* q = start;
        while (q < limit && isNumberChar(*q)) {
            ++q;
        }
        if (q == limit || *q != '<' || end - q < static_cast<std::ptrdiff_t>(close.size()) ||
            std::memcmp(q, close.data(), close.size()) != 0) {
            return false;
        }
        text = std::string_view(start, static_cast<std::size_t>(q - start));
        p = q + close.size();
        return true;
    }

    static bool isNumberChar(char c)
    {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'E' || c == 'e';
    }

    // A cell (see WholeCell).
    const char* wholeCell(char* begin, char* end)
    {
        using Holds = WholeCell::Holds;
        static constexpr Form forms[] = {
            {"<v>", "</v></c>"},
            {"<is><t>", "</t></is></c>"},
            {"<is><t xml:space=\"preserve\">", "</t></is></c>"},
            {"", "</c>"},
        };
        static constexpr Holds holdings[] = {Holds::Value, Holds::Text, Holds::PreservedText,
                                             Holds::Nothing};
        const char* const other = begin;
        std::array<RawAttribute, maxCellAttributes> found;
        std::size_t count = 0;
        char* p = begin + 2;
        bool empty = false;
        const CellTagShape shape = cellAttributes(p, end, found, count, empty);
        if (shape != CellTagShape::Plain) {
            return shape == CellTagShape::NeedMore ? nullptr : other;
        }
        std::string_view text;
        Holds holds = Holds::Nothing;
        const char* after = p;
        if (!empty && plainValue(after, end, text)) {
            holds = Holds::Value;
        } else if (!empty) {
            const int form = plainContent(after, end, forms, text);
            if (form < 0) {
                return form == needMore ? nullptr : other;
            }
            holds = holdings[form];
        }
        WholeCell cell{m_pointers.data(), text, holds, nullptr, {}};
        for (std::size_t i = 0; i < count; ++i) {
            *found[i].nameEnd = '\0';
            *found[i].valueEnd = '\0';
            m_pointers[2 * i] = found[i].nameBegin;
            m_pointers[2 * i + 1] = found[i].valueBegin;
            // Names of letters alone: r and t are the ones without a prefix.
            if (found[i].nameEnd == found[i].nameBegin + 1) {
                if (*found[i].nameBegin == 'r') {
                    cell.reference = found[i].valueBegin;
                } else if (*found[i].nameBegin == 't') {
                    cell.type = found[i].value();
                }
            }
        }
        m_pointers[2 * count] = nullptr;
        m_handler.cell(cell);
        return after;
    }

    // A shared string item of one <t> (with xml:space="preserve" or without) and its text.
    const char* wholeItem(const char* begin, const char* end)
    {
        static constexpr Form forms[] = {
            {"<si><t>", "</t></si>"},
            {"<si><t xml:space=\"preserve\">", "</t></si>"},
        };
        const char* p = begin;
        std::string_view text;
        const int form = plainContent(p, end, forms, text);
        if (form < 0) {
            return form == needMore ? nullptr : begin;
        }
        m_handler.stringItem(text, form == 1);
        return p;
    }

    const char* text(const char* begin, const char* end)
    {
        const char* lt = static_cast<const char*>(std::memchr(begin, '<', end - begin));
        const char* stop = lt;
        if (!lt && m_eof) {
            stop = end;
        } else if (!lt) {
            if (static_cast<std::size_t>(end - begin) < longText) {
                return nullptr;
            }
            stop = safeTextEnd(begin, end);
        }
        if (m_open.empty()) {
            for (const char* p = begin; p < stop; ++p) {
                if (!isSpace(*p)) {
                    leave(); // text outside the root element
                }
            }
            return stop;
        }
        const std::string_view raw(begin, static_cast<std::size_t>(stop - begin));
        if (firstSpecial(begin, stop, textSpecial) == stop) {
            m_handler.characters(raw);
        } else {
            m_text.clear();
            appendDecoded(raw, m_text, false);
            m_handler.characters(m_text);
        }
        return stop;
    }

    // Where long text may be cut: not inside a character, a reference, "\r\n" or "]]>".
    static const char* safeTextEnd(const char* begin, const char* end)
    {
        const char* cut = end - 16;
        while (cut > begin && (static_cast<unsigned char>(*cut) & 0xC0) == 0x80) {
            --cut;
        }
        const char* window = cut - 32;
        const char* amp = nullptr;
        for (const char* p = window; p < cut; ++p) {
            if (*p == '&') {
                amp = p;
            } else if (*p == ';') {
                amp = nullptr;
            }
        }
        if (amp) {
            cut = amp;
        }
        while (cut > window && (cut[-1] == ']' || cut[-1] == '\r')) {
            --cut;
        }
        return cut;
    }

    template <typename Char>
    static Char* nameEnd(Char* p, Char* end)
    {
        if (p == end || !isLetter(static_cast<unsigned char>(*p))) {
            leave(); // names outside ASCII, and anything that is no name
        }
        while (p < end && nameChars[static_cast<unsigned char>(*p)]) {
            ++p;
        }
        return p;
    }

    // Splits a qualified name; leaves for anything namespaces do not allow.
    static std::pair<std::string_view, std::string_view> split(std::string_view name)
    {
        const std::size_t colon = colonIn(name);
        if (colon == name.size()) {
            return {{}, name};
        }
        const std::string_view local = name.substr(colon + 1);
        if (colon == 0 || local.empty() || !isLetter(static_cast<unsigned char>(local[0])) ||
            local.find(':') != std::string_view::npos) {
            leave();
        }
        return {name.substr(0, colon), local};
    }

    // The namespace of unprefixed element names in scope, kept as bindings come and go.
    void noteDefaultSpace()
    {
        const Binding* bound = binding({});
        m_defaultSpace = bound ? bound->space : XmlNamespace::None;
    }

    const Binding* binding(std::string_view prefix) const
    {
        for (auto it = m_bindings.rbegin(); it != m_bindings.rend(); ++it) {
            if (it->prefix == prefix) {
                return &*it;
            }
        }
        return nullptr;
    }

    void declare(std::string_view prefix, std::string_view rawValue, std::size_t depth)
    {
        std::string uri;
        appendDecoded(rawValue, uri, true);
        // A space would end the namespace in the names handed on.
        if (prefix == "xml" || prefix == "xmlns" || uri == xmlUri || uri == xmlnsUri ||
            (!prefix.empty() && uri.empty()) || uri.find(' ') != std::string::npos) {
            leave();
        }
        const XmlNamespace space = uri.empty() ? XmlNamespace::None : classifyNamespace(uri);
        m_bindings.push_back({std::string(prefix), std::move(uri), space, depth});
        noteDefaultSpace();
    }

    // The tag is read in one pass; where the buffer ends inside it, nothing has been handed on
    // and it is read again once the buffer holds more.
    const char* startTag(char* begin, char* end)
    {
        char* p = nameEnd(begin + 1, end);
        const std::string_view qualified(begin + 1, static_cast<std::size_t>(p - begin - 1));
        bool empty = false;
        m_raw.clear();
        for (;;) {
            const char* before = p;
            while (p < end && isSpace(*p)) {
                ++p;
            }
            if (p == end || (*p == '/' && p + 1 == end)) {
                return nullptr;
            }
            if (*p == '>') {
                break;
            }
            if (*p == '/') {
                if (p[1] != '>') {
                    leave();
                }
                empty = true;
                ++p;
                break;
            }
            if (p == before || m_raw.size() == maxAttributes) {
                leave();
            }
            char* nameBegin = p;
            p = nameEnd(p, end);
            char* nameStop = p;
            while (p < end && isSpace(*p)) {
                ++p;
            }
            if (p == end) {
                return nullptr;
            }
            if (*p != '=') {
                leave();
            }
            ++p;
            while (p < end && isSpace(*p)) {
                ++p;
            }
            if (p == end) {
                return nullptr;
            }
            if (*p != '"' && *p != '\'') {
                leave();
            }
            char* valueEnd = static_cast<char*>(std::memchr(p + 1, *p, end - p - 1));
            if (!valueEnd) {
                return nullptr;
            }
            m_raw.push_back({nameBegin, nameStop, p + 1, valueEnd});
            p = valueEnd + 1;
        }
        // The whole tag is there (p at its '>'): from here on its bytes may be changed.
        for (std::size_t i = 0; i < m_raw.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (sameName(m_raw[i].name(), m_raw[j].name())) {
                    leave();
                }
            }
        }
        if (m_open.size() >= static_cast<std::size_t>(maxXmlDepth)) {
            leave();
        }
        const std::size_t depth = m_open.size() + 1;
        for (const RawAttribute& attribute : m_raw) {
            const std::string_view name = attribute.name();
            if (name == "xmlns") {
                declare({}, attribute.value(), depth);
            } else if (name.starts_with("xmlns:")) {
                declare(split(name).second, attribute.value(), depth);
            }
        }
        // Most names have no prefix: their namespace is the default one, at hand.
        const XmlName name =
            hasColon(qualified) ? elementName(qualified) : XmlName{m_defaultSpace, qualified};
        const char** attributes = resolveAttributes();
        m_open.push_back(
            {m_names.size(), m_names.size() + (qualified.size() - name.local.size()), name.space});
        m_names.append(qualified);
        m_handler.startElement(name, attributes);
        if (empty) {
            closeElement();
        }
        return p + 1;
    }

    XmlName elementName(std::string_view qualified) const
    {
        const auto [prefix, local] = split(qualified);
        if (prefix.empty()) {
            return {m_defaultSpace, local};
        }
        if (prefix == "xml") {
            return {XmlNamespace::Xml, local};
        }
        const Binding* bound = binding(prefix);
        if (!bound) {
            if (!prefix.empty()) {
                leave(); // an undeclared prefix
            }
            return {XmlNamespace::None, local};
        }
        return {bound->space, local};
    }

    // The attributes other than namespace declarations, as expat hands them on: a namespaced
    // name as its namespace, a space and its local name. A plain name and a value without
    // references or white space to replace are ended in place, over the byte after them.
    const char** resolveAttributes()
    {
        m_store.clear();
        std::size_t count = 0;
        const auto add = [&](const char* pointer, bool inStore) {
            m_pointers[count] = pointer;
            m_inStore[count++] = inStore;
        };
        bool prefixed = false;
        for (RawAttribute& attribute : m_raw) {
            const std::string_view name = attribute.name();
            if (name == "xmlns" || name.starts_with("xmlns:")) {
                continue;
            }
            if (!hasColon(name)) {
                *attribute.nameEnd = '\0';
                add(attribute.nameBegin, false);
            } else {
                const auto [prefix, local] = split(name);
                prefixed = true;
                const Binding* bound = prefix == "xml" ? nullptr : binding(prefix);
                if (prefix != "xml" && !bound) {
                    leave();
                }
                add(reinterpret_cast<const char*>(m_store.size()), true);
                m_store.append(bound ? std::string_view(bound->uri) : xmlUri);
                m_store.push_back(' ');
                m_store.append(local);
                m_store.push_back('\0');
            }
            const std::string_view value = attribute.value();
            if (firstSpecial(value.data(), value.data() + value.size(), attributeSpecial) ==
                value.data() + value.size()) {
                *attribute.valueEnd = '\0';
                add(attribute.valueBegin, false);
            } else {
                add(reinterpret_cast<const char*>(m_store.size()), true);
                appendDecoded(value, m_store, true);
                m_store.push_back('\0');
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (m_inStore[i]) {
                m_pointers[i] = m_store.data() + reinterpret_cast<std::size_t>(m_pointers[i]);
            }
        }
        // Two prefixes of one namespace can give one name twice.
        for (std::size_t i = 0; prefixed && i < count; i += 2) {
            for (std::size_t j = i + 2; j < count; j += 2) {
                if (m_inStore[i] && m_inStore[j] &&
                    std::strcmp(m_pointers[i], m_pointers[j]) == 0) {
                    leave();
                }
            }
        }
        m_pointers[count] = nullptr;
        return m_pointers.data();
    }

    const char* endTag(const char* begin, const char* end)
    {
        // An end tag is a few bytes long: a loop, not a call.
        const char* close = begin + 2;
        while (close < end && *close != '>') {
            ++close;
        }
        if (close == end) {
            return nullptr;
        }
        if (m_open.empty()) {
            leave();
        }
        const char* p = nameEnd(begin + 2, close);
        const std::string_view name(begin + 2, static_cast<std::size_t>(p - begin - 2));
        while (p < close && isSpace(*p)) {
            ++p;
        }
        if (p != close ||
            !sameName(name, std::string_view(m_names).substr(m_open.back().nameStart))) {
            leave();
        }
        closeElement();
        return close + 1;
    }

    void closeElement()
    {
        // Field by field: the element was pushed a moment ago, and a copy of the whole of it
        // would wait for those stores to land.
        const std::size_t nameStart = m_open.back().nameStart;
        const std::size_t localStart = m_open.back().localStart;
        const XmlNamespace space = m_open.back().space;
        const XmlName name{space, std::string_view(m_names).substr(localStart)};
        m_handler.endElement(name);
        const std::size_t depth = m_open.size();
        if (!m_bindings.empty() && m_bindings.back().depth == depth) {
            while (!m_bindings.empty() && m_bindings.back().depth == depth) {
                m_bindings.pop_back();
            }
            noteDefaultSpace();
        }
        m_open.pop_back();
        m_names.resize(nameStart);
        m_rootDone = m_open.empty();
    }

    const ReadPart& m_read;
    XmlHandler& m_handler;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;

    bool m_rootDone = false;
    std::vector<OpenElement> m_open;
    std::string m_names;
    std::vector<Binding> m_bindings;
    XmlNamespace m_defaultSpace = XmlNamespace::None;

    std::vector<RawAttribute> m_raw;
    std::string m_store;
    std::array<const char*, 2 * maxAttributes + 1> m_pointers{};
    std::array<bool, 2 * maxAttributes> m_inStore{};
    std::string m_text;
};

} // namespace

bool scanXml(ZipEntryReader& reader, XmlHandler& handler)
{
    return scanXml([&reader](char* destination,
                             std::size_t capacity) { return reader.read(destination, capacity); },
                   reader.declaredSize(), handler);
}

bool scanXml(const ReadPart& read, std::uint64_t partSize, XmlHandler& handler)
{
    try {
        return Scanner(read, partSize, handler).run();
    } catch (const LeaveToExpat&) {
        return false;
    }
}

} // namespace setzaiko::xlsx
