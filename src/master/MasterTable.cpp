#include "master/MasterTable.h"

#include <atomic>

namespace setzaiko::detail {

std::uint32_t nextTableEpoch()
{
    static std::atomic<std::uint32_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace setzaiko::detail
