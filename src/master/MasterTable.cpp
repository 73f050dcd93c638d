#include "master/MasterTable.h"

namespace setzaiko::detail {

std::uint64_t nextTableVersion()
{
    // The tables live on the one user-interface thread; a plain counter serves.
    static std::uint64_t last = 0;
    return ++last;
}

} // namespace setzaiko::detail
