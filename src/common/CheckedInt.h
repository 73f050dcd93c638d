#pragma once

#include <cstdint>
#include <limits>
#include <optional>

namespace setzaiko {

// 32-bit arithmetic that reports an overflow instead of wrapping: the quantities of the
// system are 32-bit, and an overflow is a run-time failure of the running step.
namespace checked {

inline std::optional<std::int32_t> narrow(std::int64_t wide)
{
    if (wide < std::numeric_limits<std::int32_t>::min() ||
        wide > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(wide);
}

inline std::optional<std::int32_t> add(std::int32_t a, std::int32_t b)
{
    return narrow(std::int64_t{a} + b);
}

inline std::optional<std::int32_t> subtract(std::int32_t a, std::int32_t b)
{
    return narrow(std::int64_t{a} - b);
}

inline std::optional<std::int32_t> multiply(std::int32_t a, std::int32_t b)
{
    return narrow(std::int64_t{a} * b);
}

} // namespace checked
} // namespace setzaiko
