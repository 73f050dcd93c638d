#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string_view>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// The namespaces the reader tells apart; the transitional and the strict variant of a
// vocabulary count as one.
enum class XmlNamespace : std::uint8_t {
    None,
    Spreadsheet,
    OfficeRelationships,
    PackageRelationships,
    Xml,
    Other,
};

// The namespace of a URI a part declares.
XmlNamespace classifyNamespace(std::string_view uri);

// The deepest real parts (text runs inside extension lists) stay far below this.
constexpr int maxXmlDepth = 64;

struct XmlName
{
    XmlNamespace space = XmlNamespace::None;
    std::string_view local;

    bool is(XmlNamespace s, std::string_view l) const { return space == s && local == l; }
};

// A worksheet cell in its plainest shape, as the reader's own scanner may hand it on in one
// piece: <c> in the spreadsheet namespace with plain attributes, empty, or holding one <v>
// and its text, or one inline string of one <t> (with xml:space="preserve" or without) and
// its text.
struct WholeCell
{
    enum class Holds : std::uint8_t { Nothing, Value, Text, PreservedText };

    const char** attributes; // as startElement gets them
    std::string_view text;   // of its <v> or <t>, as characters gets it
    Holds holds = Holds::Nothing;
    // The values of its r and t among attributes: nullptr, and no data, where it has none.
    const char* reference = nullptr;
    std::string_view type;
};

// The elements a handler takes whole where they come next, when their shape is the plainest.
enum class WholeElements : std::uint8_t {
    None,
    Cells,       // see WholeCell
    StringItems, // <si> in the spreadsheet namespace holding one <t> as above
};

// What a part's elements and text are handed to, in document order. The handlers may throw
// WorkbookError; the parse stops there and the error reaches the caller of parseXml.
class XmlHandler
{
public:
    virtual ~XmlHandler() = default;
    // attributes: name and value pairs as expat gives them, ending in nullptr; see attribute().
    virtual void startElement(const XmlName& name, const char** attributes) = 0;
    virtual void endElement(const XmlName& name) = 0;
    // Text of the current element, in pieces, UTF-8.
    virtual void characters(std::string_view text) = 0;

    // While this is set, an element of that kind and of the plainest shape that opens next may
    // come to cell() or stringItem() in one call instead of as its elements and text. A handler
    // sets it where that spares it work.
    WholeElements takesWhole = WholeElements::None;
    // Each must act as the element's elements and text would, one after the other; so they do
    // here.
    virtual void cell(const WholeCell& cell);
    virtual void stringItem(std::string_view text, bool preserves);
};

// The value of an attribute, or nullptr.
const char* attribute(const char** attributes, XmlNamespace space, std::string_view local);

// Parses one entry of the archive with expat. Refused as damage: anything that is not
// well-formed XML, any document type declaration (so no entity is ever declared, expanded or
// fetched), and elements nested deeper than any workbook part needs. Throws WorkbookError,
// whose detail starts with the part's name.
void parseXml(ZipArchive& archive, const ZipEntry& entry, XmlHandler& handler);

// Whether a large part is inflated on a thread of its own while it is scanned, or as it is
// scanned: by a reader that is itself a thread beside the one that takes what it reads.
enum class LargePart : std::uint8_t { InflatedAhead, InflatedAsScanned };

// The same for a large part: read with scanXml, and where that leaves the part to expat, read
// again from its start with parseXml through a second handler. freshHandler gives a handler
// that has seen nothing (and drops what the one before gathered).
void parseLargeXml(ZipArchive& archive, const ZipEntry& entry,
                   const std::function<XmlHandler&()>& freshHandler,
                   LargePart inflate = LargePart::InflatedAhead);

} // namespace setzaiko::xlsx
