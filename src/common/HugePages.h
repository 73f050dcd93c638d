#pragma once

#include <cstddef>

namespace setzaiko {

// Asks the system to back the memory [data, data + size) with huge pages where it can: a
// buffer of tens of megabytes, filled from front to back, then costs a few dozen page faults
// instead of tens of thousands. Only the whole huge pages within the range are asked for, so
// no memory outside it is touched; nothing happens where the system has no such pages.
void adviseHugePages(void* data, std::size_t size);

} // namespace setzaiko
