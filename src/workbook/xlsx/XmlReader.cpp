#include "workbook/xlsx/XmlReader.h"

#include "workbook/xlsx/InflateAhead.h"
#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/XmlScanner.h"
#include "workbook/xlsx/ZipArchive.h"

#include <cstring>
#include <expat.h>

namespace setzaiko::xlsx {

namespace {

// Separates a namespace from the local name in expat's element and attribute names; no
// namespace URI contains it.
constexpr char separator = ' ';

constexpr std::size_t chunkSize = 256 * 1024;

} // namespace

XmlNamespace classifyNamespace(std::string_view uri)
{
    if (uri == "http://schemas.openxmlformats.org/spreadsheetml/2006/main" ||
        uri == "http://purl.oclc.org/ooxml/spreadsheetml/main") {
        return XmlNamespace::Spreadsheet;
    }
    if (uri == "http://schemas.openxmlformats.org/officeDocument/2006/relationships" ||
        uri == "http://purl.oclc.org/ooxml/officeDocument/relationships") {
        return XmlNamespace::OfficeRelationships;
    }
    if (uri == "http://schemas.openxmlformats.org/package/2006/relationships") {
        return XmlNamespace::PackageRelationships;
    }
    if (uri == "http://www.w3.org/XML/1998/namespace") {
        return XmlNamespace::Xml;
    }
    return XmlNamespace::Other;
}

namespace {

const char* noAttributes[] = {nullptr};
const char* preservingSpace[] = {"http://www.w3.org/XML/1998/namespace space", "preserve", nullptr};

} // namespace

void XmlHandler::cell(const WholeCell& cell)
{
    using Holds = WholeCell::Holds;
    const auto element = [this](std::string_view local, const char** attributes) {
        startElement({XmlNamespace::Spreadsheet, local}, attributes);
    };
    const auto end = [this](std::string_view local) {
        endElement({XmlNamespace::Spreadsheet, local});
    };
    element("c", cell.attributes);
    if (cell.holds == Holds::Value) {
        element("v", noAttributes);
    } else if (cell.holds != Holds::Nothing) {
        element("is", noAttributes);
        element("t", cell.holds == Holds::PreservedText ? preservingSpace : noAttributes);
    }
    if (!cell.text.empty()) {
        characters(cell.text);
    }
    if (cell.holds == Holds::Value) {
        end("v");
    } else if (cell.holds != Holds::Nothing) {
        end("t");
        end("is");
    }
    end("c");
}

void XmlHandler::stringItem(std::string_view text, bool preserves)
{
    startElement({XmlNamespace::Spreadsheet, "si"}, noAttributes);
    startElement({XmlNamespace::Spreadsheet, "t"}, preserves ? preservingSpace : noAttributes);
    if (!text.empty()) {
        characters(text);
    }
    endElement({XmlNamespace::Spreadsheet, "t"});
    endElement({XmlNamespace::Spreadsheet, "si"});
}

namespace {

XmlName split(const char* name)
{
    // The separator follows the namespace URI, which holds none, so the first one is it.
    const char* at = std::strchr(name, separator);
    if (!at) {
        return {XmlNamespace::None, std::string_view(name)};
    }
    return {classifyNamespace(std::string_view(name, static_cast<std::size_t>(at - name))),
            std::string_view(at + 1)};
}

struct ParseState
{
    XML_Parser parser = nullptr;
    XmlHandler* handler = nullptr;
    int depth = 0;
    std::exception_ptr failure;

    void stop(std::exception_ptr why)
    {
        if (!failure) {
            failure = std::move(why);
        }
        XML_StopParser(parser, XML_FALSE);
    }
    void stop(const char* why) { stop(std::make_exception_ptr(WorkbookError(why))); }
};

// Exceptions must not cross expat's C frames: each callback keeps what its handler threw and
// stops the parser.
template <typename Call>
void guarded(ParseState& state, Call call)
{
    if (state.failure) {
        return;
    }
    try {
        call();
    } catch (...) {
        state.stop(std::current_exception());
    }
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes)
{
    auto& state = *static_cast<ParseState*>(data);
    if (++state.depth > maxXmlDepth) {
        state.stop("XML nested deeper than any workbook part");
        return;
    }
    guarded(state, [&] { state.handler->startElement(split(name), attributes); });
}

void XMLCALL onEnd(void* data, const XML_Char* name)
{
    auto& state = *static_cast<ParseState*>(data);
    --state.depth;
    guarded(state, [&] { state.handler->endElement(split(name)); });
}

void XMLCALL onCharacters(void* data, const XML_Char* text, int length)
{
    auto& state = *static_cast<ParseState*>(data);
    guarded(state, [&] {
        state.handler->characters(std::string_view(text, static_cast<std::size_t>(length)));
    });
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int)
{
    static_cast<ParseState*>(data)->stop("a package part declares a document type");
}

void XMLCALL onEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int,
                                 const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
{
    static_cast<ParseState*>(data)->stop("a package part declares an entity");
}

int XMLCALL onExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*,
                             const XML_Char*)
{
    return XML_STATUS_ERROR;
}

struct ParserDeleter
{
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

} // namespace

const char* attribute(const char** attributes, XmlNamespace space, std::string_view local)
{
    for (const char** a = attributes; *a; a += 2) {
        const XmlName name = split(*a);
        if (name.space == space && name.local == local) {
            return a[1];
        }
    }
    return nullptr;
}

namespace {

// Whatever stops the read of a part names that part before the reason, so that a damaged
// package says where it is damaged.
template <typename Read>
void readPart(const ZipEntry& entry, const Read& read)
{
    try {
        read();
    } catch (const WorkbookError& error) {
        throw WorkbookError(error.kind(), entry.name + ": " + error.what());
    }
}

void parseWholeXml(ZipArchive& archive, const ZipEntry& entry, XmlHandler& handler)
{
    const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(
        XML_ParserCreateNS(nullptr, separator));
    if (!parser) {
        fail("no memory for an XML parser");
    }
    ParseState state;
    state.parser = parser.get();
    state.handler = &handler;
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onCharacters);
    XML_SetStartDoctypeDeclHandler(parser.get(), onDoctype);
    XML_SetEntityDeclHandler(parser.get(), onEntityDeclaration);
    XML_SetExternalEntityRefHandler(parser.get(), onExternalEntity);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

    ZipEntryReader reader(archive, entry);
    for (;;) {
        void* buffer = XML_GetBuffer(parser.get(), static_cast<int>(chunkSize));
        if (!buffer) {
            fail("no memory for an XML parser");
        }
        const std::size_t n = reader.read(static_cast<char*>(buffer), chunkSize);
        const bool last = n == 0;
        if (XML_ParseBuffer(parser.get(), static_cast<int>(n), last) != XML_STATUS_OK) {
            if (state.failure) {
                std::rethrow_exception(state.failure);
            }
            fail(std::string("a package part is not well-formed XML: ") +
                 XML_ErrorString(XML_GetErrorCode(parser.get())));
        }
        if (last) {
            return;
        }
    }
}

void parseLargeWholeXml(ZipArchive& archive, const ZipEntry& entry,
                        const std::function<XmlHandler&()>& freshHandler, LargePart inflate)
{
    if (inflate == LargePart::InflatedAhead) {
        // Inflated on a thread of its own meanwhile.
        InflateAhead inflater(archive, entry);
        if (scanXml(
                [&inflater](char* destination, std::size_t capacity) {
                    return inflater.read(destination, capacity);
                },
                entry.size, freshHandler())) {
            return;
        }
    } else {
        ZipEntryReader reader(archive, entry);
        if (scanXml(reader, freshHandler())) {
            return;
        }
    }
    parseWholeXml(archive, entry, freshHandler());
}

} // namespace

void parseXml(ZipArchive& archive, const ZipEntry& entry, XmlHandler& handler)
{
    readPart(entry, [&] { parseWholeXml(archive, entry, handler); });
}

void parseLargeXml(ZipArchive& archive, const ZipEntry& entry,
                   const std::function<XmlHandler&()>& freshHandler, LargePart inflate)
{
    readPart(entry, [&] { parseLargeWholeXml(archive, entry, freshHandler, inflate); });
}

} // namespace setzaiko::xlsx
