#pragma once

#include <cstddef>

namespace setzaiko {

// Asks the system to back the memory [data, data + size) with huge pages where it can: a
// buffer of tens of megabytes, filled from front to back, then costs a few dozen page faults
// instead of tens of thousands. Only the whole huge pages within the range are asked for, so
// no memory outside it is touched; nothing happens where the system has no such pages.
void adviseHugePages(void* data, std::size_t size);

// The size from which mapPages places a block on huge pages.
inline constexpr std::size_t hugePageSize = std::size_t{2} << 20;

// Maps at least bytes of memory of their own, given back whole by unmapPages; from
// hugePageSize on, at a huge page's boundary and with the advice to back them with huge pages.
// Where the system maps no memory on request, they come from the heap. Throws std::bad_alloc.
void* mapPages(std::size_t bytes);
// Gives back what mapPages(bytes) gave.
void unmapPages(void* data, std::size_t bytes) noexcept;
// Hands the whole pages within [data, data + size) of memory mapPages gave back to the system,
// keeping the range mapped: it is not to be read again. Nothing happens where the system has
// no such call.
void releasePages(void* data, std::size_t size) noexcept;

} // namespace setzaiko
