// BulkMemoryPool: the memory the model's bulk allocations come from while
// the program runs (schobj/bulk_memory.h).
//
// A conversion makes a few small pieces per component, hundreds of
// thousands in a large design, and frees them all again with the document
// or at the end of the run. A pool serves them from chunks of page memory
// (platform/page_memory.h), with no header per piece and no trip through
// the general heap; what one document gave back serves the next.
//
// While it lives the pool is the process's default memory resource; it
// puts the previous one back when it is destroyed. It belongs to main(),
// made before and destroyed after every model object. It is not
// synchronized: the model is used from one thread.
#pragma once

#include <memory_resource>

namespace vesk {

class BulkMemoryPool {
 public:
  BulkMemoryPool();
  BulkMemoryPool(const BulkMemoryPool&) = delete;
  BulkMemoryPool& operator=(const BulkMemoryPool&) = delete;
  ~BulkMemoryPool();

 private:
  std::pmr::unsynchronized_pool_resource pool_;
  std::pmr::memory_resource* previous_;
};

}  // namespace vesk
