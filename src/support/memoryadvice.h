#pragma once

#include <cstddef>

namespace quorva {

// Asks the kernel to back the whole 2 MiB pages inside this range with huge pages. Filling a
// large fresh buffer then costs a few page faults instead of thousands. Only a hint: nothing
// changes when the kernel declines.
void adviseHugePages(void* data, std::size_t size);

inline constexpr std::size_t hugePageSize = std::size_t{2} << 20;

} // namespace quorva
