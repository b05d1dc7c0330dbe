#include "support/memoryadvice.h"

#include <cstdint>

#include <sys/mman.h>

namespace quorva {

void adviseHugePages(void* data, std::size_t size)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + hugePageSize - 1) & ~(hugePageSize - 1);
    const std::uintptr_t last = (begin + size) & ~(hugePageSize - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace quorva
