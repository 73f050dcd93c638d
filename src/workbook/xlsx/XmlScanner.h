#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace setzaiko::xlsx {

class XmlHandler;
class ZipEntryReader;

// Reads one part with a scanner of the reader's own, several times faster than expat, for the
// XML that workbook writers produce: UTF-8 (with or without a byte order mark and an XML
// declaration), elements with ASCII names, attributes, text, character references and the
// five predefined entity references, namespaces as the part declares them. The handler sees
// exactly what it would see from parseXml.
//
// Returns false as soon as the part holds anything else: a comment, a processing
// instruction, CDATA, a document type, a name outside ASCII, another encoding, nesting deeper
// than parseXml allows, or anything that is not well-formed. The handler may have seen part
// of the document by then; the part is to be read again from its start with expat, which
// accepts it or says why not. What the handler or the reader throws passes through.
bool scanXml(ZipEntryReader& reader, XmlHandler& handler);

// The same over the part's bytes as read gives them: up to capacity bytes at destination,
// 0 at the part's end. partSize, the size the part declares, bounds the first buffer.
using ReadPart = std::function<std::size_t(char* destination, std::size_t capacity)>;
bool scanXml(const ReadPart& read, std::uint64_t partSize, XmlHandler& handler);

} // namespace setzaiko::xlsx
