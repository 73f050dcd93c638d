#pragma once

#include "common/HugePages.h"

#include <bit>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace setzaiko {

// A list that grows in blocks: growing never moves or copies the items it holds, so a
// reference to an item stays valid, and the list never needs room for two copies of itself.
// The first two blocks hold FirstBlock items each and every later one as many as all before
// it, so a short list stays small and a long one lies in few blocks. A block of a huge page's
// size or more is mapped on its own, on huge pages: filling a list of millions of items then
// takes a page fault for each huge page rather than for each page.
template <typename T, std::size_t FirstBlock>
class BlockList
{
    static_assert(FirstBlock > 0 && (FirstBlock & (FirstBlock - 1)) == 0, "a power of two");

public:
    BlockList() = default;
    BlockList(const BlockList& other)
    {
        try {
            for (std::size_t index = 0; index < other.m_size; ++index) {
                push_back(other[index]);
            }
        } catch (...) {
            clear(); // no destructor runs for a list whose copying failed
            throw;
        }
    }
    BlockList(BlockList&& other) noexcept
        : m_blocks(std::move(other.m_blocks)), m_size(std::exchange(other.m_size, 0))
    {
        other.m_blocks.clear();
    }
    BlockList& operator=(const BlockList& other)
    {
        if (this != &other) {
            BlockList copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    BlockList& operator=(BlockList&& other) noexcept
    {
        if (this != &other) {
            clear();
            m_blocks = std::move(other.m_blocks);
            other.m_blocks.clear();
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }
    ~BlockList() { clear(); }

    std::size_t size() const { return m_size; }
    const T& operator[](std::size_t index) const { return *slot(index); }
    void push_back(T item)
    {
        if (m_size == firstOf(m_blocks.size())) {
            m_blocks.reserve(m_blocks.size() + 1);
            m_blocks.push_back(allocateBlock(m_blocks.size()));
        }
        new (slot(m_size)) T(std::move(item));
        ++m_size;
    }
    void clear() noexcept
    {
        for (std::size_t index = 0; index < m_size; ++index) {
            slot(index)->~T();
        }
        for (std::size_t block = 0; block < m_blocks.size(); ++block) {
            freeBlock(block, m_blocks[block]);
        }
        m_blocks.clear();
        m_size = 0;
    }

private:
    // The index of the block's first item, or the count of items the blocks before it hold.
    static std::size_t firstOf(std::size_t block)
    {
        return block == 0 ? 0 : FirstBlock << (block - 1);
    }
    static std::size_t bytesOf(std::size_t block)
    {
        return (block == 0 ? FirstBlock : firstOf(block)) * sizeof(T);
    }
    T* slot(std::size_t index) const
    {
        const auto block = static_cast<std::size_t>(std::bit_width(index / FirstBlock));
        return m_blocks[block] + (index - firstOf(block));
    }
    static T* allocateBlock(std::size_t block)
    {
        const std::size_t bytes = bytesOf(block);
        if (bytes >= hugePageSize) {
            return static_cast<T*>(mapPages(bytes));
        }
        return static_cast<T*>(::operator new(bytes, std::align_val_t(alignof(T))));
    }
    static void freeBlock(std::size_t block, T* items) noexcept
    {
        const std::size_t bytes = bytesOf(block);
        if (bytes >= hugePageSize) {
            unmapPages(items, bytes);
        } else {
            ::operator delete(items, std::align_val_t(alignof(T)));
        }
    }

    std::vector<T*> m_blocks;
    std::size_t m_size = 0;
};

} // namespace setzaiko
