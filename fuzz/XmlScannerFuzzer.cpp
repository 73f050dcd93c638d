// Feeds arbitrary bytes as one XML part to the reader's own scanner twice: once taking cells
// (or shared string items) whole where they may come, once element by element. Both must agree
// on whether they read the part without expat and, where they do, on every event. The first
// byte chooses cells or items, the second the size of the pieces the part arrives in, so that
// the ends of the scanner's buffer fall anywhere inside a whole element.

#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/XmlScanner.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace setzaiko::xlsx;

namespace {

class Recorder : public XmlHandler
{
public:
    explicit Recorder(WholeElements kind) : m_kind(kind) {}

    void startElement(const XmlName& name, const char** attributes) override
    {
        events += '<' + std::to_string(static_cast<int>(name.space)) + std::string(name.local);
        for (const char** a = attributes; *a; a += 2) {
            events += std::string(" [") + a[0] + "]=[" + a[1] + "]";
        }
        events += '>';
        // Cells are taken in a row, items in the root.
        if (m_kind == WholeElements::Cells ? name.local == "row" : m_depth == 0) {
            m_parentDepth = m_depth + 1;
        }
        takeWholeAt(++m_depth);
    }
    void endElement(const XmlName& name) override
    {
        events += "</" + std::string(name.local) + '>';
        takeWholeAt(--m_depth);
    }
    void characters(std::string_view text) override { events += text; }

    std::string events;

private:
    void takeWholeAt(int depth)
    {
        takesWhole = depth == m_parentDepth ? m_kind : WholeElements::None;
    }

    WholeElements m_kind;
    int m_depth = 0;
    int m_parentDepth = -1;
};

struct Scan
{
    bool scanned;
    std::string events;
};

Scan scan(std::string_view part, std::size_t piece, WholeElements kind)
{
    Recorder recorder(kind);
    std::size_t at = 0;
    const auto read = [&](char* destination, std::size_t capacity) {
        const std::size_t n = std::min({capacity, piece, part.size() - at});
        std::memcpy(destination, part.data() + at, n);
        at += n;
        return n;
    };
    const bool scanned = scanXml(read, part.size(), recorder);
    return {scanned, recorder.events};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const WholeElements kind = data[0] % 2 ? WholeElements::StringItems : WholeElements::Cells;
    const std::size_t piece = 1 + std::size_t{data[1]} * 37;
    const std::string_view part(reinterpret_cast<const char*>(data) + 2, size - 2);
    const Scan whole = scan(part, piece, kind);
    const Scan elements = scan(part, piece, WholeElements::None);
    if (whole.scanned != elements.scanned || (whole.scanned && whole.events != elements.events)) {
        __builtin_trap(); // whole elements read otherwise than their elements
    }
    return 0;
}
