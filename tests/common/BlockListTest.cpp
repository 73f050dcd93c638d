#include "common/BlockList.h"

#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

namespace setzaiko {
namespace {

// Items read back where they were put, across the small blocks, the doubling ones and those
// mapped on huge pages, and an item put early stays where it was while the list grows.
TEST(BlockList, KeepsEveryItemWhereItWasPutWhileItGrows)
{
    // Blocks of 8-byte items reach a huge page's size from the one that starts at item 4 << 16.
    constexpr std::size_t counts[] = {0, 1, 4, 5, 8, 9, 4 << 16, (4 << 17) + 3};
    for (const std::size_t count : counts) {
        SCOPED_TRACE(count);
        BlockList<std::uint64_t, 4> list;
        const std::uint64_t* first = nullptr;
        for (std::size_t i = 0; i < count; ++i) {
            list.push_back(i * 3 + 1);
            first = first ? first : &list[0];
        }
        ASSERT_EQ(list.size(), count);
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < count; ++i) {
            wrong += list[i] != i * 3 + 1 ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0u);
        if (count > 0) {
            EXPECT_EQ(&list[0], first);
        }
    }
}

// Copies are lists of their own; a list moved from, or cleared, is empty and grows again. The
// sanitizer build finds a text freed twice or never.
TEST(BlockList, CopiesMovesAndClearsOwnTheirItems)
{
    BlockList<QString, 2> list;
    for (int i = 0; i < 11; ++i) {
        list.push_back(QString::number(i));
    }
    BlockList<QString, 2> copy = list;
    copy.push_back(QStringLiteral("only in the copy"));
    EXPECT_EQ(list.size(), 11u);
    EXPECT_EQ(copy[10], QStringLiteral("10"));
    EXPECT_EQ(copy[11], QStringLiteral("only in the copy"));

    BlockList<QString, 2> moved = std::move(copy);
    EXPECT_EQ(moved.size(), 12u);
    EXPECT_EQ(copy.size(), 0u); // NOLINT(bugprone-use-after-move): moved from, then reused
    copy.push_back(QStringLiteral("again"));
    EXPECT_EQ(copy[0], QStringLiteral("again"));

    moved = list;
    EXPECT_EQ(moved.size(), 11u);
    EXPECT_EQ(moved[7], QStringLiteral("7"));
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    list.push_back(QStringLiteral("after clearing"));
    EXPECT_EQ(list[0], QStringLiteral("after clearing"));
    EXPECT_EQ(moved[0], QStringLiteral("0"));
}

// An item that counts the live ones and refuses to be copied a given time.
struct Counted
{
    static inline int alive = 0;
    static inline int copiesLeft = 0;

    Counted() { ++alive; }
    Counted(const Counted&)
    {
        if (copiesLeft-- == 0) {
            throw std::bad_alloc();
        }
        ++alive;
    }
    Counted(Counted&&) noexcept { ++alive; }
    ~Counted() { --alive; }
};

// A copy that fails part way leaves no item and no block behind.
TEST(BlockList, ACopyThatFailsLeavesNothingBehind)
{
    using List = BlockList<Counted, 2>;
    {
        List list;
        for (int i = 0; i < 9; ++i) {
            list.push_back(Counted());
        }
        Counted::copiesLeft = 6;
        EXPECT_THROW(List{list}, std::bad_alloc);
        EXPECT_EQ(Counted::alive, 9);
    }
    EXPECT_EQ(Counted::alive, 0);
}

} // namespace
} // namespace setzaiko
