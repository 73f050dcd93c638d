#include "common/HugePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace setzaiko {

void adviseHugePages(void* data, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + hugePage - 1) / hugePage * hugePage;
    const std::uintptr_t to = (begin + size) / hugePage * hugePage;
    if (to > from) {
        // Advice only: where it is refused, the memory is what it was.
        (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

} // namespace setzaiko
