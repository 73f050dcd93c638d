#include "workbook/xlsx/RawInflate.h"

#include "workbook/xlsx/XlsxError.h"

#include <algorithm>
#include <limits>
#include <zlib.h>

#ifdef SETZAIKO_HAVE_ISAL
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#endif

namespace setzaiko::xlsx {

namespace {

// Neither engine takes more than this many bytes in one call.
constexpr std::size_t maxPiece = std::numeric_limits<std::uint32_t>::max();

[[noreturn]] void damaged()
{
    fail("an archive entry is damaged: its deflate data are not valid");
}

} // namespace

class RawInflate::Backend
{
public:
    virtual ~Backend() = default;
    // As RawInflate::step; sets finished at the stream's end.
    virtual Step step(const char* input, std::size_t inputSize, char* output,
                      std::size_t outputSize, bool& finished) = 0;
    virtual std::uint32_t checksum(std::uint32_t crc, const char* data, std::size_t size) = 0;
};

namespace {

class ZlibBackend : public RawInflate::Backend
{
public:
    ZlibBackend()
    {
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) {
            fail("no memory to inflate an archive entry");
        }
    }
    ~ZlibBackend() override { inflateEnd(&m_stream); }

    RawInflate::Step step(const char* input, std::size_t inputSize, char* output,
                          std::size_t outputSize, bool& finished) override
    {
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input));
        m_stream.avail_in = static_cast<uInt>(inputSize);
        m_stream.next_out = reinterpret_cast<Bytef*>(output);
        m_stream.avail_out = static_cast<uInt>(outputSize);
        const int result = inflate(&m_stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
            damaged(); // Z_DATA_ERROR, Z_NEED_DICT, Z_MEM_ERROR
        }
        finished = result == Z_STREAM_END;
        return {inputSize - m_stream.avail_in, outputSize - m_stream.avail_out};
    }

    std::uint32_t checksum(std::uint32_t crc, const char* data, std::size_t size) override
    {
        return static_cast<std::uint32_t>(
            crc32_z(crc, reinterpret_cast<const Bytef*>(data), static_cast<z_size_t>(size)));
    }

private:
    z_stream m_stream{};
};

#ifdef SETZAIKO_HAVE_ISAL
class IsalBackend : public RawInflate::Backend
{
public:
    IsalBackend() { isal_inflate_init(&m_state); }

    RawInflate::Step step(const char* input, std::size_t inputSize, char* output,
                          std::size_t outputSize, bool& finished) override
    {
        m_state.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(input));
        m_state.avail_in = static_cast<std::uint32_t>(inputSize);
        m_state.next_out = reinterpret_cast<std::uint8_t*>(output);
        m_state.avail_out = static_cast<std::uint32_t>(outputSize);
        if (isal_inflate(&m_state) < 0) {
            damaged(); // an invalid block, symbol or distance
        }
        finished = m_state.block_state == ISAL_BLOCK_FINISH;
        return {inputSize - m_state.avail_in, outputSize - m_state.avail_out};
    }

    std::uint32_t checksum(std::uint32_t crc, const char* data, std::size_t size) override
    {
        return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(data), size);
    }

private:
    inflate_state m_state{};
};
#endif

} // namespace

std::vector<RawInflate::Engine> RawInflate::engines()
{
#ifdef SETZAIKO_HAVE_ISAL
    return {Engine::Fast, Engine::Zlib};
#else
    return {Engine::Zlib};
#endif
}

RawInflate::RawInflate(Engine engine)
{
#ifdef SETZAIKO_HAVE_ISAL
    if (engine == Engine::Fast) {
        m_backend = std::make_unique<IsalBackend>();
        return;
    }
#endif
    (void)engine;
    m_backend = std::make_unique<ZlibBackend>();
}

RawInflate::~RawInflate() = default;

RawInflate::Step RawInflate::step(const char* input, std::size_t inputSize, char* output,
                                  std::size_t outputSize)
{
    if (m_finished) {
        return {};
    }
    const Step done = m_backend->step(input, std::min(inputSize, maxPiece), output,
                                      std::min(outputSize, maxPiece), m_finished);
    m_checksum = m_backend->checksum(m_checksum, output, done.produced);
    return done;
}

} // namespace setzaiko::xlsx
