#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace setzaiko {

// A list that grows in blocks of a fixed number of items: growing never moves or copies the
// items it holds, so a reference to an item stays valid, and the list never needs room for
// two copies of itself.
template <typename T, std::size_t BlockSize>
class BlockList
{
    static_assert(BlockSize > 0 && (BlockSize & (BlockSize - 1)) == 0, "a power of two");

public:
    std::size_t size() const { return m_size; }
    const T& operator[](std::size_t index) const
    {
        return m_blocks[index / BlockSize][index % BlockSize];
    }
    void push_back(T item)
    {
        if (m_size % BlockSize == 0) {
            m_blocks.emplace_back().reserve(BlockSize);
        }
        m_blocks.back().push_back(std::move(item));
        ++m_size;
    }
    void clear()
    {
        m_blocks.clear();
        m_size = 0;
    }

private:
    std::vector<std::vector<T>> m_blocks;
    std::size_t m_size = 0;
};

} // namespace setzaiko
