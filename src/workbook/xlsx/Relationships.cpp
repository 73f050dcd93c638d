#include "workbook/xlsx/Relationships.h"

#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipArchive.h"

#include <QSet>
#include <QStringDecoder>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::xlsx {

namespace {

// Every character of an attribute, a leading U+FEFF too: it makes another id or part name.
QString decoded(const char* text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(text));
}

class RelationshipsHandler : public XmlHandler
{
public:
    explicit RelationshipsHandler(const QString& source) : m_source(source) {}

    void startElement(const XmlName& name, const char** attributes) override
    {
        ++m_depth;
        if (m_depth == 1) {
            if (!name.is(XmlNamespace::PackageRelationships, "Relationships")) {
                fail("a relationships part has the wrong root element");
            }
            return;
        }
        if (m_depth != 2 || !name.is(XmlNamespace::PackageRelationships, "Relationship")) {
            return;
        }
        const char* id = attribute(attributes, XmlNamespace::None, "Id");
        const char* type = attribute(attributes, XmlNamespace::None, "Type");
        const char* target = attribute(attributes, XmlNamespace::None, "Target");
        const char* mode = attribute(attributes, XmlNamespace::None, "TargetMode");
        if (!id || !type || !target) {
            fail("a relationship lacks its id, type or target");
        }
        Relationship relationship;
        relationship.id = decoded(id);
        const QString typeUri = decoded(type);
        relationship.type = typeUri.mid(typeUri.lastIndexOf(u'/') + 1);
        relationship.external = mode && std::string_view(mode) == "External";
        if (!relationship.external) {
            relationship.target = resolveTarget(m_source, decoded(target));
        }
        if (m_ids.contains(relationship.id)) {
            fail("two relationships have the same id");
        }
        m_ids.insert(relationship.id);
        m_relationships.push_back(std::move(relationship));
    }
    void endElement(const XmlName&) override { --m_depth; }
    void characters(std::string_view) override {}

    std::vector<Relationship> take() { return std::move(m_relationships); }

private:
    const QString& m_source;
    int m_depth = 0;
    std::vector<Relationship> m_relationships;
    QSet<QString> m_ids;
};

} // namespace

QString resolveTarget(const QString& sourcePart, const QString& target)
{
    // A target is a relative URI reference: no scheme, no authority, percent-encoded.
    const QUrl url(target, QUrl::TolerantMode);
    if (!url.isValid() || !url.scheme().isEmpty() || !url.authority().isEmpty() || url.hasQuery()) {
        fail("a relationship points outside the package");
    }
    const QString path = url.path(QUrl::FullyDecoded);
    QStringList segments;
    if (!path.startsWith(u'/')) {
        segments = sourcePart.split(u'/');
        segments.removeLast(); // the source part's own name
    }
    for (const QString& segment : path.split(u'/')) {
        if (segment.isEmpty() || segment == u"."_s) {
            continue;
        }
        if (segment == u".."_s) {
            if (segments.isEmpty()) {
                fail("a relationship points outside the package");
            }
            segments.removeLast();
            continue;
        }
        segments.append(segment);
    }
    if (segments.isEmpty()) {
        fail("a relationship points at no part");
    }
    return segments.join(u'/');
}

std::vector<Relationship> readRelationships(ZipArchive& archive, const QString& sourcePart)
{
    const qsizetype slash = sourcePart.lastIndexOf(u'/');
    const QString relsName =
        sourcePart.left(slash + 1) + u"_rels/"_s + sourcePart.mid(slash + 1) + u".rels"_s;
    const auto entry = archive.find(relsName);
    if (!entry) {
        return {};
    }
    RelationshipsHandler handler(sourcePart);
    parseXml(archive, *entry, handler);
    return handler.take();
}

} // namespace setzaiko::xlsx
