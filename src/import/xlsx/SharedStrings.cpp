#include "import/xlsx/SharedStrings.h"

#include "import/xlsx/RichText.h"
#include "import/xlsx/XlsxError.h"
#include "import/xlsx/XmlReader.h"
#include "import/xlsx/ZipArchive.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <system_error>

namespace setzaiko::xlsx {

namespace {

// Room is made for no more items than the part's stored bytes: a count attribute, or a
// declared size, may claim far more than the part holds.
class SharedStringsHandler : public XmlHandler
{
public:
    explicit SharedStringsHandler(std::uint64_t storedSize) : m_storedSize(storedSize) {}

    void startElement(const XmlName& name, const char** attributes) override
    {
        ++m_depth;
        if (m_depth == 1) {
            if (!name.is(XmlNamespace::Spreadsheet, "sst")) {
                fail("the shared strings part has the wrong root element");
            }
            reserve(attribute(attributes, XmlNamespace::None, "uniqueCount"));
        } else if (m_inItem) {
            m_text.startElement(name, attributes);
        } else if (m_depth == 2 && name.is(XmlNamespace::Spreadsheet, "si")) {
            m_inItem = true;
            m_text.begin(attributes);
        }
    }

    void endElement(const XmlName& name) override
    {
        if (m_inItem && m_depth == 2) {
            m_inItem = false;
            m_strings.append(m_text.finish());
        } else if (m_inItem) {
            m_text.endElement(name);
        }
        --m_depth;
    }

    void characters(std::string_view text) override
    {
        if (m_inItem) {
            m_text.characters(text);
        }
    }

    SharedStrings take()
    {
        m_strings.finish();
        return std::move(m_strings);
    }

private:
    void reserve(const char* count)
    {
        std::uint64_t claimed = 0;
        if (!count ||
            std::from_chars(count, count + std::strlen(count), claimed).ec != std::errc()) {
            return;
        }
        m_strings.reserve(static_cast<std::size_t>(std::min(claimed, m_storedSize)));
    }

    std::uint64_t m_storedSize;
    int m_depth = 0;
    bool m_inItem = false;
    RichText m_text;
    SharedStrings m_strings;
};

} // namespace

QStringList SharedStrings::toList() const
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(m_items.size()));
    for (const std::uint32_t text : m_items) {
        texts.append(m_texts[text]);
    }
    return texts;
}

void SharedStrings::reserve(std::size_t items)
{
    m_items.reserve(items);
}

void SharedStrings::append(const QString& text)
{
    const auto next = static_cast<std::uint32_t>(m_texts.size());
    const auto found = m_indexOfText.constFind(text);
    if (found != m_indexOfText.constEnd()) {
        m_items.push_back(found.value());
        return;
    }
    m_indexOfText.insert(text, next);
    m_texts.push_back(text);
    m_items.push_back(next);
}

void SharedStrings::finish()
{
    m_indexOfText = {};
    m_texts.shrink_to_fit();
}

SharedStrings readSharedStrings(ZipArchive& archive, const ZipEntry& entry)
{
    std::optional<SharedStringsHandler> handler;
    parseLargeXml(archive, entry, [&]() -> XmlHandler& {
        handler.reset();
        return handler.emplace(entry.compressedSize);
    });
    return handler->take();
}

PendingSharedStrings readSharedStringsAhead(const QByteArray& bytes, const ZipEntry& entry)
{
    auto read = [bytes, entry]() -> SharedStringTable {
        ZipArchive archive(bytes);
        return std::make_shared<const SharedStrings>(readSharedStrings(archive, entry));
    };
    try {
        return std::async(std::launch::async, read).share();
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, read).share();
    }
}

PendingSharedStrings sharedStringsReady(SharedStrings strings)
{
    std::promise<SharedStringTable> ready;
    ready.set_value(std::make_shared<const SharedStrings>(std::move(strings)));
    return ready.get_future().share();
}

} // namespace setzaiko::xlsx
