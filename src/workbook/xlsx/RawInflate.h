#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace setzaiko::xlsx {

// Inflates one raw deflate stream, as a zip entry stores it, piece by piece, and keeps the
// CRC-32 of what it has given, as the entry's header declares it.
//
// Two engines inflate alike: the fast one (ISA-L's, where the program is built with it) and
// zlib's, which every build has. The fast one is the default.
class RawInflate
{
public:
    enum class Engine : std::uint8_t { Fast, Zlib };

    // The engines this build has, the default first.
    static std::vector<Engine> engines();

    explicit RawInflate(Engine engine = engines().front());
    ~RawInflate();

    RawInflate(const RawInflate&) = delete;
    RawInflate& operator=(const RawInflate&) = delete;

    struct Step
    {
        std::size_t consumed = 0;
        std::size_t produced = 0;
    };

    // Inflates from input into output as far as either reaches. Throws WorkbookError where
    // the stream is not valid deflate data.
    Step step(const char* input, std::size_t inputSize, char* output, std::size_t outputSize);

    // The stream's last block has been inflated and all of it given out.
    bool finished() const { return m_finished; }
    // The CRC-32 of everything given out so far.
    std::uint32_t checksum() const { return m_checksum; }

    class Backend;

private:
    std::unique_ptr<Backend> m_backend;
    bool m_finished = false;
    std::uint32_t m_checksum = 0;
};

} // namespace setzaiko::xlsx
