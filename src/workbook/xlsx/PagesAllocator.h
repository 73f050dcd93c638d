#pragma once

#include "common/HugePages.h"

#include <cstddef>
#include <new>
#include <string>

namespace setzaiko::xlsx {

// Memory for packed values. A large block is mapped from the system on its own and given back
// whole when it is freed: the blocks of a worksheet read as it goes are made on one thread and
// freed on another, and from the heap they would stay with the first thread's arena, resident,
// long after the values are read.
template <typename T>
struct PagesAllocator
{
    using value_type = T;
    static constexpr std::size_t mappedFrom = 64 * 1024; // bytes

    PagesAllocator() = default;
    template <typename U>
    PagesAllocator(const PagesAllocator<U>&) noexcept
    {}

    T* allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes >= mappedFrom) {
            return static_cast<T*>(mapPages(bytes));
        }
        return static_cast<T*>(::operator new(bytes));
    }

    void deallocate(T* block, std::size_t count) noexcept
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes >= mappedFrom) {
            unmapPages(block, bytes);
            return;
        }
        ::operator delete(block);
    }

    friend bool operator==(const PagesAllocator&, const PagesAllocator&) { return true; }
};

using PackedBytes = std::basic_string<char, std::char_traits<char>, PagesAllocator<char>>;

} // namespace setzaiko::xlsx
