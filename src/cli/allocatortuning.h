#pragma once

namespace quorva {

// Sets up the C allocator for a short run that fills tens of megabytes of fresh memory: one
// arena for all threads, kept rather than given back, its heap reserved up front and backed by
// transparent huge pages. Filling a rescaled image or a PNG then costs a few page faults instead
// of thousands, which on a virtual machine is a large part of the whole run. Only hints: where
// the kernel or the allocator declines, nothing changes but the speed.
void tuneAllocatorForShortRun();

} // namespace quorva
