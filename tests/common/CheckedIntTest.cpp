#include "common/CheckedInt.h"

#include <gtest/gtest.h>

#include <functional>

namespace setzaiko {
namespace {

constexpr std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t minInt = std::numeric_limits<std::int32_t>::min();

struct ArithmeticCase
{
    const char* name;
    std::function<std::optional<std::int32_t>(std::int32_t, std::int32_t)> operation;
    std::int32_t a;
    std::int32_t b;
    std::optional<std::int32_t> expected;
};

TEST(CheckedIntTest, ReportsOverflowAtTheRangeEdges)
{
    const ArithmeticCase cases[] = {
        {"add", checked::add, 2, 3, 5},
        {"add", checked::add, maxInt, 0, maxInt},
        {"add", checked::add, maxInt, 1, std::nullopt},
        {"add", checked::add, minInt, -1, std::nullopt},
        {"add", checked::add, minInt, maxInt, -1},
        {"add", checked::add, maxInt, maxInt, std::nullopt},
        {"subtract", checked::subtract, 0, maxInt, -maxInt},
        {"subtract", checked::subtract, -1, maxInt, minInt},
        {"subtract", checked::subtract, -2, maxInt, std::nullopt},
        {"subtract", checked::subtract, 0, minInt, std::nullopt},
        {"subtract", checked::subtract, maxInt, -1, std::nullopt},
        {"multiply", checked::multiply, 46340, 46340, 2147395600},
        {"multiply", checked::multiply, 46341, 46341, std::nullopt},
        {"multiply", checked::multiply, minInt, 1, minInt},
        {"multiply", checked::multiply, minInt, -1, std::nullopt},
        {"multiply", checked::multiply, -65536, 32768, minInt},
        {"multiply", checked::multiply, 65536, 32768, std::nullopt},
        {"multiply", checked::multiply, maxInt, 0, 0},
        {"multiply", checked::multiply, 9999999, 214, 2139999786},
        {"multiply", checked::multiply, 9999999, 215, std::nullopt},
    };
    for (const ArithmeticCase& c : cases) {
        EXPECT_EQ(c.operation(c.a, c.b), c.expected) << c.name << "(" << c.a << ", " << c.b << ")";
    }
}

TEST(CheckedIntTest, NarrowKeepsExactly32Bits)
{
    EXPECT_EQ(checked::narrow(std::int64_t{maxInt}), maxInt);
    EXPECT_EQ(checked::narrow(std::int64_t{minInt}), minInt);
    EXPECT_EQ(checked::narrow(std::int64_t{maxInt} + 1), std::nullopt);
    EXPECT_EQ(checked::narrow(std::int64_t{minInt} - 1), std::nullopt);
    EXPECT_EQ(checked::narrow(std::numeric_limits<std::int64_t>::min()), std::nullopt);
}

} // namespace
} // namespace setzaiko
