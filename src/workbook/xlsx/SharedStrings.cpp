#include "workbook/xlsx/SharedStrings.h"

#include "common/TextRules.h"
#include "workbook/xlsx/RichText.h"
#include "workbook/xlsx/StoredPart.h"
#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipArchive.h"

#include <QHash>

#include <optional>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace setzaiko::xlsx {

namespace {

class SharedStringsHandler : public XmlHandler
{
public:
    void startElement(const XmlName& name, const char** attributes) override
    {
        open(name, attributes);
        takesWhole = m_depth == 1 ? WholeElements::StringItems : WholeElements::None;
    }

    void endElement(const XmlName& name) override
    {
        close(name);
        takesWhole = m_depth == 1 ? WholeElements::StringItems : WholeElements::None;
    }

    // Comes only where an item may open: in the root, outside any other element.
    void stringItem(std::string_view text, bool preserves) override
    {
        m_text.takeText(text, preserves);
        m_strings.append(m_text.finish());
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
    void open(const XmlName& name, const char** attributes)
    {
        ++m_depth;
        if (m_depth == 1) {
            if (!name.is(XmlNamespace::Spreadsheet, "sst")) {
                fail("the shared strings part has the wrong root element");
            }
            // Its count attributes are passed over: the items read are what is kept.
        } else if (m_inItem) {
            m_text.startElement(name, attributes);
        } else if (m_depth == 2 && name.is(XmlNamespace::Spreadsheet, "si")) {
            m_inItem = true;
            m_text.begin(attributes);
        }
    }

    void close(const XmlName& name)
    {
        if (m_inItem && m_depth == 2) {
            m_inItem = false;
            m_strings.append(m_text.finish());
        } else if (m_inItem) {
            m_text.endElement(name);
        }
        --m_depth;
    }

    int m_depth = 0;
    bool m_inItem = false;
    RichText m_text;
    SharedStrings m_strings;
};

} // namespace

QStringList SharedStrings::toList() const
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(m_size));
    for (std::size_t item = 0; item < m_size; ++item) {
        texts.append((*this)[item]);
    }
    return texts;
}

const QString& SharedStrings::at(std::size_t item) const
{
    if (item >= m_size) {
        throw std::out_of_range("no such shared string");
    }
    return (*this)[item];
}

std::uint32_t SharedStrings::indexOfText(const QString& text)
{
    if (m_recent.empty()) {
        m_recent.resize(recentSlots);
    }
    // Seeded for the process, so that a package cannot choose texts that crowd one slot.
    const auto hash = static_cast<std::uint32_t>(qHash(text, QHashSeed::globalSeed()));
    const std::size_t home = hash & (recentSlots - 1);
    RecentSlot* free = nullptr;
    for (std::size_t probe = 0; probe < recentProbes; ++probe) {
        RecentSlot& slot = m_recent[(home + probe) & (recentSlots - 1)];
        if (slot.textPlusOne == 0) {
            free = &slot;
            break;
        }
        if (slot.hash == hash && m_texts[slot.textPlusOne - 1] == text) {
            return slot.textPlusOne - 1;
        }
    }
    const auto index = static_cast<std::uint32_t>(m_texts.size());
    m_texts.push_back(text);
    m_plain.push_back(!text.isEmpty() && !isTrimmedSpace(text.back()) ? 1 : 0);
    RecentSlot& slot = free ? *free : m_recent[home];
    slot.textPlusOne = index + 1;
    slot.hash = hash;
    return index;
}

void SharedStrings::append(const QString& text)
{
    // Runs of one text (the empty one above all) skip the hash.
    if (m_size == 0 || m_texts[m_lastText] != text) {
        m_lastText = indexOfText(text);
    }
    m_current.push_back(m_lastText);
    ++m_size;
    if (m_current.size() == blockSize) {
        packCurrent();
    }
}

void SharedStrings::packCurrent()
{
    Block block;
    const std::uint32_t first = m_current.front();
    bool consecutive = true;
    for (std::size_t i = 1; i < m_current.size() && consecutive; ++i) {
        consecutive = m_current[i] == first + i;
    }
    if (consecutive) {
        block.width = Block::consecutive;
        block.firstText = first;
        m_blocks.push_back(std::move(block));
        m_current.clear();
        return;
    }
    QHash<std::uint32_t, std::uint32_t> placeOfText;
    std::vector<std::uint32_t> places;
    places.reserve(m_current.size());
    for (const std::uint32_t text : m_current) {
        auto found = placeOfText.constFind(text);
        if (found == placeOfText.constEnd()) {
            found = placeOfText.insert(text, static_cast<std::uint32_t>(block.texts.size()));
            block.texts.push_back(text);
        }
        places.push_back(found.value());
    }
    // A block holds at most 65,536 texts, so 16 bits always suffice.
    while (block.texts.size() > (std::size_t{1} << block.width)) {
        block.width = block.width == 0 ? 1 : static_cast<std::uint8_t>(block.width * 2);
    }
    if (block.width > 0) {
        block.places.assign((places.size() * block.width + 63) / 64, 0);
        for (std::size_t i = 0; i < places.size(); ++i) {
            const std::size_t bit = i * block.width;
            block.places[bit / 64] |= std::uint64_t{places[i]} << (bit % 64);
        }
    }
    block.texts.shrink_to_fit();
    m_blocks.push_back(std::move(block));
    m_current.clear();
}

void SharedStrings::finish()
{
    if (!m_current.empty()) {
        packCurrent();
    }
    m_current = {};
    m_recent = {};
    m_plain.shrink_to_fit();
}

SharedStrings readSharedStrings(ZipArchive& archive, const ZipEntry& entry)
{
    std::optional<SharedStringsHandler> handler;
    parseLargeXml(archive, entry, [&]() -> XmlHandler& {
        handler.reset();
        return handler.emplace();
    });
    return handler->take();
}

PendingSharedStrings readSharedStringsAhead(const QByteArray& bytes, const ZipEntry& entry)
{
    // The pending result keeps the reading function: it lets go of the file's bytes as soon as
    // it has its part.
    auto read = [bytes = QByteArray(bytes), entry]() mutable -> SharedStringTable {
        const StoredPart part(std::exchange(bytes, QByteArray()), entry);
        ZipArchive archive(part.bytes());
        return std::make_shared<const SharedStrings>(readSharedStrings(archive, part.entry()));
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
