#pragma once

#include <functional>
#include <vector>

namespace quorva {

// Runs the tasks side by side on the job pool's threads and the calling thread alike, each
// thread taking the next task in turn, and returns once every one has run. The calling thread
// works too, so the tasks are done even when no pool thread is free: a caller on the pool never
// waits on work queued behind itself.
void runSideBySide(const std::vector<std::function<void()>>& tasks);

} // namespace quorva
