#pragma once

namespace setzaiko {

// Asks for the memory at address to be brought into the cache ahead of its use, for data read
// in an order the processor cannot foresee; nothing where the compiler offers no way to ask.
inline void prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

} // namespace setzaiko
