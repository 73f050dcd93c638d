#include "workbook/xlsx/PagesAllocator.h"

#include "common/HugePages.h"

#include <cstdint>

namespace setzaiko::xlsx {

void* mapPages(std::size_t bytes)
{
#if defined(__linux__)
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    const std::size_t span = bytes >= hugePage ? bytes + hugePage : bytes;
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
    const std::uintptr_t block = (start + hugePage - 1) / hugePage * hugePage;
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

} // namespace setzaiko::xlsx
