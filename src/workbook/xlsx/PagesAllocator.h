#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace setzaiko::xlsx {

// Maps at least bytes; from a huge page's size on, at a huge page's boundary and with the advice
// to back it with huge pages, so that filling it takes a fault for each huge page rather than
// for each page. Throws std::bad_alloc.
void* mapPages(std::size_t bytes);

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
#if defined(__linux__)
        if (bytes >= mappedFrom) {
            return static_cast<T*>(mapPages(bytes));
        }
#endif
        return static_cast<T*>(::operator new(bytes));
    }

    void deallocate(T* block, std::size_t count) noexcept
    {
        const std::size_t bytes = count * sizeof(T);
#if defined(__linux__)
        if (bytes >= mappedFrom) {
            munmap(block, bytes);
            return;
        }
#endif
        ::operator delete(block);
    }

    friend bool operator==(const PagesAllocator&, const PagesAllocator&)
    {
        return true;
    }
};

using PackedBytes = std::basic_string<char, std::char_traits<char>, PagesAllocator<char>>;

} // namespace setzaiko::xlsx
