#include "cli/allocatortuning.h"

#include "support/memoryadvice.h"

#include <array>
#include <cstdlib>

#include <malloc.h>
#include <unistd.h>

namespace quorva {

void tuneAllocatorForShortRun()
{
    // Not under a sanitizer, whose allocator stands in for the C library's: the hints don't reach
    // it, and it would poison, fill and quarantine the blocks below at every start.
#ifndef QUORVA_SANITIZED
    // Blocks up to the largest mmap threshold come from the one heap, and freed ones stay in it.
    constexpr int largestThreshold = 32 << 20;
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, largestThreshold);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);

    // Grow the heap by what a large job uses, advise huge pages over it, and hand it back to the
    // allocator: later blocks are carved from the advised range. Nothing is touched, so nothing
    // of it becomes resident until used.
    std::array<void*, 8> blocks{};
    for (void*& block : blocks)
        block = std::malloc(largestThreshold - 4096);
    char* const top = static_cast<char*>(sbrk(0));
    if (blocks.front() && top != reinterpret_cast<char*>(-1) && top > blocks.front())
        adviseHugePages(blocks.front(), static_cast<std::size_t>(top - static_cast<char*>(blocks.front())));
    for (void* block : blocks)
        std::free(block);
#endif
}

} // namespace quorva
