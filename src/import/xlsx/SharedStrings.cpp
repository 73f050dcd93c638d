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

// The shortest item, "<si/>", takes five bytes: no table can hold more items than that allows,
// whatever its count attribute claims.
constexpr std::uint64_t smallestItem = 5;

class SharedStringsHandler : public XmlHandler
{
public:
    explicit SharedStringsHandler(std::uint64_t partSize) : m_partSize(partSize) {}

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
            m_strings.push_back(m_text.finish());
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

    std::vector<QString> take()
    {
        m_strings.shrink_to_fit();
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
        m_strings.reserve(static_cast<std::size_t>(std::min(claimed, m_partSize / smallestItem)));
    }

    std::uint64_t m_partSize;
    int m_depth = 0;
    bool m_inItem = false;
    RichText m_text;
    std::vector<QString> m_strings;
};

} // namespace

std::vector<QString> readSharedStrings(ZipArchive& archive, const ZipEntry& entry)
{
    std::optional<SharedStringsHandler> handler;
    parseLargeXml(archive, entry, [&]() -> XmlHandler& {
        handler.reset();
        return handler.emplace(entry.size);
    });
    return handler->take();
}

PendingSharedStrings readSharedStringsAhead(const QByteArray& bytes, const ZipEntry& entry)
{
    auto read = [bytes, entry]() -> SharedStringTable {
        ZipArchive archive(bytes);
        return std::make_shared<const std::vector<QString>>(readSharedStrings(archive, entry));
    };
    try {
        return std::async(std::launch::async, read).share();
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, read).share();
    }
}

PendingSharedStrings sharedStringsReady(std::vector<QString> strings)
{
    std::promise<SharedStringTable> ready;
    ready.set_value(std::make_shared<const std::vector<QString>>(std::move(strings)));
    return ready.get_future().share();
}

} // namespace setzaiko::xlsx
