#pragma once

#include <cstdint>
#include <cstring>

namespace setzaiko::xls {

// Little-endian fields of the file format; the caller has checked that the bytes exist.
inline std::uint16_t u16At(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t u32At(const unsigned char* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline std::uint64_t u64At(const unsigned char* p)
{
    return std::uint64_t{u32At(p)} | (std::uint64_t{u32At(p + 4)} << 32);
}

inline double doubleAt(const unsigned char* p)
{
    const std::uint64_t bits = u64At(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace setzaiko::xls
