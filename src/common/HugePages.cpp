#include "common/HugePages.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace setzaiko {

namespace {

#if defined(__linux__)
// Gives the advice for the whole pages of pageSize within [data, data + size), if any: no
// memory outside the range is touched.
void adviseWithin(void* data, std::size_t size, std::uintptr_t pageSize, int advice) noexcept
{
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t to = (begin + size) / pageSize * pageSize;
    if (to > from) {
        // Advice only: where it is refused, the memory is what it was.
        (void)madvise(reinterpret_cast<void*>(from), to - from, advice);
    }
}
#endif

} // namespace

void adviseHugePages(void* data, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    adviseWithin(data, size, hugePageSize, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

void* mapPages(std::size_t bytes)
{
#if defined(__linux__)
    const std::size_t span = bytes >= hugePageSize ? bytes + hugePageSize : bytes;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    if (span == bytes) {
        return mapped;
    }
    // The block starts at the first huge page boundary; what lies before it and after its last
    // page goes back.
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t block = (start + hugePageSize - 1) / hugePageSize * hugePageSize;
    const std::uintptr_t end = block + (bytes + 4095) / 4096 * 4096;
    if (block > start) {
        munmap(mapped, block - start);
    }
    if (start + span > end) {
        munmap(reinterpret_cast<void*>(end), start + span - end);
    }
    adviseHugePages(reinterpret_cast<void*>(block), bytes);
    return reinterpret_cast<void*>(block);
#else
    return ::operator new(bytes);
#endif
}

void releasePages(void* data, std::size_t size) noexcept
{
#if defined(__linux__) && defined(MADV_DONTNEED)
    static const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    adviseWithin(data, size, pageSize, MADV_DONTNEED);
#else
    (void)data;
    (void)size;
#endif
}

void unmapPages(void* data, std::size_t bytes) noexcept
{
#if defined(__linux__)
    munmap(data, bytes);
#else
    (void)bytes;
    ::operator delete(data);
#endif
}

} // namespace setzaiko
