// The reader's own XML scanner against expat: for every document, a large part read through
// the scanner (and expat where the scanner leaves it) gives the handler what expat alone
// gives it, or fails as expat does; and the documents workbook writers produce never need
// expat.

#include "workbook/xlsx/XmlScanner.h"

#include "workbook/Workbook.h"
#include "workbook/xlsx/StoredArchive.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipArchive.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

using namespace setzaiko;
using namespace setzaiko::xlsx;
using setzaiko::testing::storedArchive;

namespace {

// Writes down every event, text joined as a parser may hand it on in any pieces.
class Recorder : public XmlHandler
{
public:
    void startElement(const XmlName& name, const char** attributes) override
    {
        events += "<" + spaceOf(name) + std::string(name.local);
        for (const char** a = attributes; *a; a += 2) {
            events += " [" + std::string(a[0]) + "]=[" + a[1] + "]";
        }
        events += ">";
    }
    void endElement(const XmlName& name) override
    {
        events += "</" + spaceOf(name) + std::string(name.local) + ">";
    }
    void characters(std::string_view text) override { events += text; }

    std::string events;

private:
    static std::string spaceOf(const XmlName& name)
    {
        return std::to_string(static_cast<int>(name.space)) + ":";
    }
};

// Takes cells whole where they stand in a row, or string items where they stand in the root,
// giving the events the scanner would give.
class WholeRecorder : public Recorder
{
public:
    explicit WholeRecorder(WholeElements kind = WholeElements::Cells) : kind(kind) {}

    void startElement(const XmlName& name, const char** attributes) override
    {
        Recorder::startElement(name, attributes);
        if (kind == WholeElements::Cells ? name.local == "row" : depth == 0) {
            parentDepth = depth + 1;
        }
        takeWholeAt(++depth);
    }
    void endElement(const XmlName& name) override
    {
        Recorder::endElement(name);
        takeWholeAt(--depth);
    }
    void cell(const WholeCell& cell) override
    {
        ++whole;
        XmlHandler::cell(cell);
    }
    void stringItem(std::string_view text, bool preserves) override
    {
        ++whole;
        XmlHandler::stringItem(text, preserves);
    }

    int whole = 0;

private:
    void takeWholeAt(int at) { takesWhole = at == parentDepth ? kind : WholeElements::None; }

    WholeElements kind;
    int depth = 0;
    int parentDepth = -1;
};

// The events, or the failure.
std::string withExpat(ZipArchive& archive, const ZipEntry& entry)
{
    Recorder recorder;
    try {
        parseXml(archive, entry, recorder);
    } catch (const WorkbookError& error) {
        return std::string("refused: ") + error.what();
    }
    return recorder.events;
}

std::string asLargePart(ZipArchive& archive, const ZipEntry& entry)
{
    std::optional<Recorder> recorder;
    try {
        parseLargeXml(archive, entry, [&]() -> XmlHandler& { return recorder.emplace(); });
    } catch (const WorkbookError& error) {
        return std::string("refused: ") + error.what();
    }
    return recorder->events;
}

const std::string mainUri = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string strict = "http://purl.oclc.org/ooxml/spreadsheetml/main";
const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

std::string nested(int depth)
{
    std::string open;
    std::string close;
    for (int i = 0; i < depth; ++i) {
        open += "<e>";
        close += "</e>";
    }
    return open + "x" + close;
}

TEST(XmlScanner, GivesWhatExpatGivesOrLeavesThePartToIt)
{
    const struct
    {
        const char* what;
        std::string xml;
        bool scanned; // read without expat
    } cases[] = {
        {"a worksheet",
         decl + "<worksheet xmlns=\"" + mainUri + "\" xmlns:r=\"" + rel +
             "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
             "<c r='B1' t=\"inlineStr\"><is><t xml:space=\"preserve\"> a&amp;b"
             "&lt;&gt;&quot;&apos;&#12475;&#x30C3; </t></is></c></row>"
             "</sheetData><x r:id=\"rId1\"/></worksheet>\n",
         true},
        {"no declaration, a byte order mark", "\xEF\xBB\xBF<a>\xE6\x97\xA5\xF0\x9F\x98\x80</a>",
         true},
        {"a U+FEFF opening a text and a value, after the byte order mark",
         "\xEF\xBB\xBF<a v=\"\xEF\xBB\xBFx\">\xEF\xBB\xBF\xE2\x97\x8B</a>", true},
        {"a row of a foreign namespace holding cells",
         "<sheetData xmlns=\"" + mainUri +
             "\"><f:row xmlns:f=\"urn:f\"><c><v>1</v></c></f:row></sheetData>",
         true},
        {"strict, prefixed",
         "<x:worksheet xmlns:x=\"" + strict + "\"><x:c x:r=\"1\" y=''/>" + "</x:worksheet >", true},
        {"default namespace undeclared and redeclared",
         "<a xmlns=\"" + mainUri + "\"><b xmlns=\"\"><c xmlns=\"urn:o\"/></b><d/></a>", true},
        {"attribute white space", "<a v=\"x\ty\nz\r\nw\rq&#10;&#9;\" w = 'a>b\"c' />", true},
        {"line ends in text", "<a>1\r\n2\r3\n4&#13;5]]6]>7</a>", true},
        {"decimal references in a run, of every length",
         "<a>&#12475;&#12483;&#9675;&#00000012475;&#0012475;&#128512;&#1114111;&#200;&#65;x"
         "&#12475;</a>",
         true},
        {"a decimal reference beyond Unicode", "<a>&#1114112;&#12475;&#12475;</a>", false},
        {"a decimal reference to U+FFFE", "<a>&#65534;&#12475;&#12475;</a>", false},
        {"a decimal reference to a surrogate", "<a>&#55296;&#12475;&#12475;</a>", false},
        {"a decimal reference of eight digits", "<a>&#99999999;&#12475;</a>", false},
        {"an unended decimal reference", "<a>&#12475 &#12475;&#12475;</a>", false},
        {"a decimal reference ended by a character outside ASCII",
         "<a>&#12475\xE6\x97\xA5;&#12475;</a>", false},
        {"a decimal reference with a colon", "<a>&#1247:;&#12475;&#12475;</a>", false},
        {"a prefix redeclared inside",
         "<p:a xmlns:p=\"urn:1\"><p:b xmlns:p=\"" + mainUri + "\"/><p:c/></p:a>", true},
        {"nested as deep as allowed", nested(64), true},
        {"nested deeper", nested(65), false},
        {"a comment", "<a><!-- c --></a>", false},
        {"an instruction", "<a><?pi x?></a>", false},
        {"CDATA", "<a><![CDATA[<x>]]></a>", false},
        {"a document type", "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", false},
        {"another encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>", false},
        {"a name outside ASCII", "<\xE8\xA1\xA8>x</\xE8\xA1\xA8>", false},
        {"mismatched end", "<a><b></a></b>", false},
        {"unclosed root", "<a><b></b>", false},
        {"two roots", "<a/><b/>", false},
        {"text outside the root", "<a/>x", false},
        {"empty part", "", false},
        {"two byte order marks", "\xEF\xBB\xBF\xEF\xBB\xBF<a/>", false},
        {"declaration not first", " <?xml version=\"1.0\"?><a/>", false},
        {"an undeclared entity", "<a>&nbsp;</a>", false},
        {"a reference to no character", "<a>&#0;</a>", false},
        {"a reference to a surrogate", "<a>&#xD800;</a>", false},
        {"a reference with X", "<a>&#X41;</a>", false},
        {"an unterminated reference", "<a>&amp</a>", false},
        {"overlong UTF-8", "<a>\xC0\x80</a>", false},
        {"an encoded surrogate", "<a>\xED\xA0\x80</a>", false},
        {"U+FFFE", "<a>\xEF\xBF\xBE</a>", false},
        {"a cut sequence", "<a>\xE6\x97</a>", false},
        {"a control character", "<a>\x01</a>", false},
        {"]]> in text", "<a>x]]>y</a>", false},
        {"< in a value", "<a v=\"<\"/>", false},
        {"an attribute twice", "<a v=\"1\" v=\"2\"/>", false},
        {"one name through two prefixes",
         "<a xmlns:p=\"urn:x\" xmlns:q=\"urn:x\" p:v=\"1\" q:v=\"2\"/>", false},
        {"an undeclared prefix", "<p:a/>", false},
        {"an undeclared attribute prefix", "<a p:v=\"1\"/>", false},
        {"an empty prefix binding", "<a xmlns:p=\"\"/>", false},
        {"the xml namespace rebound", "<a xmlns:x=\"http://www.w3.org/XML/1998/namespace\"/>",
         false},
        {"two colons", "<a:b:c xmlns:a=\"urn:a\"/>", false},
        {"no space between attributes", "<a v=\"1\"w=\"2\"/>", false},
        {"an unquoted value", "<a v=1/>", false},
        {"a space in a namespace", "<a xmlns=\"" + mainUri + " x\"/>", false},
        {"version 1.1", "<?xml version=\"1.1\"?><a/>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = storedArchive(c.xml);
        ZipArchive archive(bytes);
        const ZipEntry entry = *archive.find(QStringLiteral("p.xml"));
        const std::string expected = withExpat(archive, entry);
        EXPECT_EQ(asLargePart(archive, entry), expected);
        Recorder recorder;
        ZipEntryReader reader(archive, entry);
        EXPECT_EQ(scanXml(reader, recorder), c.scanned);
        if (c.scanned) {
            EXPECT_EQ(recorder.events, expected);
        }
    }
}

// An element of the plainest shape comes whole where the handler takes it so, and gives what
// its elements give; any other shape is read element by element, and what expat refuses is
// refused.
TEST(XmlScanner, WholeElementsGiveWhatTheirElementsGive)
{
    constexpr WholeElements cells = WholeElements::Cells;
    constexpr WholeElements items = WholeElements::StringItems;
    const struct
    {
        WholeElements kind;
        const char* what;
        std::string content; // of a row, or of a shared string table
        int whole;           // elements taken whole
        bool scanned;        // read without expat
    } cases[] = {
        {cells, "shared, number, empty, bare",
         "<c r=\"A1\" t=\"s\"><v>0</v></c><c r='B1' s=\"3\"><v> -1.5E3 > </v></c>"
         "<c r=\"C1\"/><c r=\"D1\" ></c><c><v></v></c><c\t\r\n/>",
         6, true},
        {cells, "eight attributes, then nine",
         "<c a='1' b='2' d='3' e='4' f='5' g='6' h='7' i='\"'/>"
         "<c a='1' b='2' d='3' e='4' f='5' g='6' h='7' i='8' j='9'/>",
         1, true},
        {cells, "attributes to decode or resolve",
         "<c r=\"A&#49;\"/><c r=\"\tA1\"/><c x:r=\"A1\"/><c r = \"A1\"/><c r_1=\"A1\"/>"
         "<c r=\"\xE6\x97\xA5\"/><c xmlns=\"urn:o\"><v>1</v></c>",
         0, true},
        {cells, "values and texts to decode",
         "<c><v>1&amp;2</v></c><c><v>\xE6\x97\xA5\t]\n</v></c><c t=\"inlineStr\"><is><t> "
         "&#12475;&lt;\r\n</t></is></c><c><is><t xml:space=\"preserve\"> x </t></is></c>"
         "<c><is><t></t></is></c><c><v>" +
             std::string(4096, '9') + "</v></c>",
         6, true},
        {cells, "longer texts, other spaces",
         "<c><v>" + std::string(4097, '9') +
             "</v></c><c><is><t xml:space=\"default\">x</t></is>"
             "</c><c><is><t xml:space='preserve'>x</t></is></c>",
         0, true},
        {cells, "other content",
         "<c><f>1+1</f><v>2</v></c><c><v/></c><c><v>1</v> </c><c><v>1</v></c ><c><x/></c>"
         "<c> </c><c><is><r><t>x</t></r></is></c><c><is><t>x</t><rPh/></is></c>",
         0, true},
        {cells, "long attribute values, plain and with bytes to decode past eight",
         "<c r=\"A1\" t=\"inlineStr\" s=\"12345678901234567\"/><c s='1234567\"89'/>"
         "<c s=\"12345678&amp;\"/><c s=\"123456789\xE6\x97\xA5\"/><c s=\"1234567890\t\"/>"
         "<c s=\"123456789012345\"/>",
         3, true},
        {cells, "< in a long value", "<c s=\"12345678<\"/>", 0, false},
        {cells, "other elements", "<col/><cx/><c2/>", 0, true},
        {cells, "an attribute twice", "<c r=\"A1\" r=\"B1\"/>", 0, false},
        {cells, "r, s and t, then another shape after them",
         "<c t=\"s\" s=\"2\" r=\"A1\"><v>0</v></c><c r=\"A2\" s=\"1\" q=\"2\"/>"
         "<c r=\"A3\" t='s'><v>0</v></c><c r=\"A4\"  s=\"1\"/><c r=\"A5\" rs=\"1\"/>"
         "<c r=\"A6\" s=\"&#49;\"/>",
         5, true},
        {cells, "a space inside />", "<c r=\"A1\" s=\"1\"/ >", 0, false},
        {cells, "s again after t", "<c s=\"1\" t=\"s\" s=\"2\"/>", 0, false},
        {cells, "no space between attributes", "<c r=\"A1\"s=\"1\"/>", 0, false},
        {cells, "mismatched ends", "<c><v>1</c></v>", 0, false},
        {cells, "]]> in a value", "<c><v>]]></v></c>", 0, false},
        {cells, "a control character in a value", "<c><v>\x01</v></c>", 0, false},
        {cells, "a cut cell", "<c r=\"A1\"><v>1</v>", 0, false},

        {items, "plain, preserved, empty, decoded",
         "<si><t>a</t></si><si><t xml:space=\"preserve\"> b </t></si><si><t></t></si>"
         "<si><t> &#12475;&amp;\r\n\xE6\x97\xA5]_x0041_ </t></si>",
         4, true},
        {items, "other shapes",
         "<si/><si></si><si><t/></si><si x=\"1\"><t>a</t></si><si><r><t>a</t></r></si>"
         "<si><t>a</t><rPh sb=\"0\"><t>b</t></rPh></si><si><t xml:space='preserve'>a</t></si>"
         "<si><t>a</t> </si><si> <t>a</t></si><si><t>" +
             std::string(4097, 'a') + "</t></si><sx/>",
         0, true},
        {items, "]]> in a text", "<si><t>]]></t></si>", 0, false},
        {items, "a cut item", "<si><t>a</t>", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool cut = std::string_view(c.what).starts_with("a cut");
        const std::string xml =
            c.kind == cells
                ? "<worksheet xmlns=\"" + mainUri + "\" xmlns:x=\"" + mainUri +
                      "\"><sheetData><row r=\"1\">" + c.content +
                      (cut ? "" : "</row></sheetData></worksheet>")
                : "<sst xmlns=\"" + mainUri + "\" count=\"9\">" + c.content + (cut ? "" : "</sst>");
        const QByteArray bytes = storedArchive(xml);
        ZipArchive archive(bytes);
        const ZipEntry entry = *archive.find(QStringLiteral("p.xml"));
        const std::string expected = withExpat(archive, entry);
        WholeRecorder recorder(c.kind);
        ZipEntryReader reader(archive, entry);
        EXPECT_EQ(scanXml(reader, recorder), c.scanned);
        if (c.scanned) {
            EXPECT_EQ(recorder.events, expected);
            EXPECT_EQ(recorder.whole, c.whole);
        }
    }
    // Outside a row, or under another default namespace, no cell comes whole.
    for (const std::string& xml : std::vector<std::string>{
             "<worksheet xmlns=\"" + mainUri + "\"><c><v>1</v></c></worksheet>",
             "<sheetData xmlns=\"urn:o\"><row><c><v>1</v></c></row></sheetData>"}) {
        const QByteArray bytes = storedArchive(xml);
        ZipArchive archive(bytes);
        WholeRecorder recorder;
        ZipEntryReader reader(archive, *archive.find(QStringLiteral("p.xml")));
        EXPECT_TRUE(scanXml(reader, recorder));
        EXPECT_EQ(recorder.whole, 0);
    }
}

// Text longer than the scanner holds at once reaches the handler in pieces, none of them cut
// inside a character, a reference or a line end.
TEST(XmlScanner, LongTextArrivesWhole)
{
    std::string text;
    const std::array<std::string, 6> pieces = {"\xE6\x97\xA5", "&#12475;", "\r\n",
                                               "]]",           "&amp;",    "abc"};
    for (std::size_t i = 0; text.size() < 3 * 1024 * 1024; ++i) {
        text += pieces[i % pieces.size()];
        if (i % 7 == 0) {
            text += "x";
        }
    }
    const QByteArray bytes = storedArchive("<a><b>" + text + "</b></a>");
    ZipArchive archive(bytes);
    const ZipEntry entry = *archive.find(QStringLiteral("p.xml"));
    Recorder recorder;
    ZipEntryReader reader(archive, entry);
    ASSERT_TRUE(scanXml(reader, recorder));
    EXPECT_EQ(recorder.events, withExpat(archive, entry));
}

// Tags, values and references of every length, so that the ends of the scanner's buffer fall
// inside each kind of token somewhere.
TEST(XmlScanner, TokensAcrossBufferEndsArriveWhole)
{
    std::string xml = "<w xmlns=\"" + mainUri + "\" xmlns:r=\"" + rel + "\">";
    for (int i = 0; xml.size() < 5 * 1024 * 1024; ++i) {
        const std::string pad(static_cast<std::size_t>(i % 23), 'a');
        xml += "<c r=\"" + pad + "\"  t='s" + std::to_string(i) + "' r:id=\"&amp;" + pad +
               "&#x30C3;\"" + std::string(static_cast<std::size_t>(i % 3), ' ') +
               (i % 2 ? "/>" : "><v>" + pad + "&lt;" + std::to_string(i) + "</v></c >");
    }
    // Cells taken whole, of every length too.
    xml += "<row>";
    for (int i = 0; xml.size() < 10 * 1024 * 1024; ++i) {
        const std::string pad(static_cast<std::size_t>(i % 29), ' ');
        xml += "<c r=\"A" + std::to_string(i) + "\"" + pad +
               (i % 3 ? "/>" : "><v>" + pad + "</v></c>");
    }
    xml += "</row></w>\r\n"; // white space after the root, beyond the first buffer
    const QByteArray bytes = storedArchive(xml);
    ZipArchive archive(bytes);
    const ZipEntry entry = *archive.find(QStringLiteral("p.xml"));
    WholeRecorder recorder;
    ZipEntryReader reader(archive, entry);
    ASSERT_TRUE(scanXml(reader, recorder));
    EXPECT_EQ(recorder.events, withExpat(archive, entry));
    EXPECT_GT(recorder.whole, 0);
}

} // namespace
