#include "platform/page_memory.h"

namespace vesk {

// Large pages on Windows need the "lock pages in memory" privilege, which
// a desktop user does not hold, so the pool takes its chunks from the C++
// heap; the pool alone spares the heap its many small requests.
std::pmr::memory_resource* pageMemory() { return std::pmr::new_delete_resource(); }

}  // namespace vesk
