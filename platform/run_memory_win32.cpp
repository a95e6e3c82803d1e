#include "platform/run_memory.h"

namespace vesk {

// Large pages on Windows need a privilege that users are not given: the
// run takes the heap.
std::unique_ptr<std::pmr::memory_resource> makeRunMemory() { return nullptr; }

}  // namespace vesk
