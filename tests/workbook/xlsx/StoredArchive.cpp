#include "workbook/xlsx/StoredArchive.h"

#include <cstdint>
#include <stdexcept>
#include <zlib.h>

namespace setzaiko::testing {

namespace {

std::uint32_t crc32Of(const std::string& data)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

QByteArray archiveOf(const std::string& content, bool damaged, bool deflated,
                     const std::string& name = "p.xml")
{
    const auto size = static_cast<std::uint32_t>(content.size());
    const std::uint32_t crc = crc32Of(content) ^ (damaged ? 1u : 0u);
    const std::string stored = deflated ? rawDeflate(content) : content;
    std::string zip;
    const auto common = [&] {
        put(zip, 20, 2);               // version needed
        put(zip, 0, 2);                // flags
        put(zip, deflated ? 8 : 0, 2); // deflated or stored
        put(zip, 0, 4);                // time and date
        put(zip, crc, 4);
        put(zip, static_cast<std::uint32_t>(stored.size()), 4);
        put(zip, size, 4);
        put(zip, static_cast<std::uint32_t>(name.size()), 2);
        put(zip, 0, 2); // extra field
    };
    put(zip, 0x04034b50, 4);
    common();
    zip += name + stored;
    const auto directory = static_cast<std::uint32_t>(zip.size());
    put(zip, 0x02014b50, 4);
    put(zip, 20, 2); // version made by
    common();
    put(zip, 0, 2); // comment
    put(zip, 0, 2); // disk
    put(zip, 0, 2); // internal attributes
    put(zip, 0, 4); // external attributes
    put(zip, 0, 4); // the local header's offset
    zip += name;
    const auto directorySize = static_cast<std::uint32_t>(zip.size()) - directory;
    put(zip, 0x06054b50, 4);
    put(zip, 0, 4);
    put(zip, 1, 2);
    put(zip, 1, 2);
    put(zip, directorySize, 4);
    put(zip, directory, 4);
    put(zip, 0, 2);
    return QByteArray(zip.data(), static_cast<qsizetype>(zip.size()));
}

} // namespace

QByteArray storedArchive(const std::string& content, bool damaged)
{
    return archiveOf(content, damaged, false);
}

QByteArray storedArchiveNamed(const std::string& content, const std::string& name)
{
    return archiveOf(content, false, false, name);
}

QByteArray deflatedArchive(const std::string& content, bool damaged)
{
    return archiveOf(content, damaged, true);
}

std::string rawDeflate(const std::string& content)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&stream, content.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate");
    }
    return out;
}

} // namespace setzaiko::testing
