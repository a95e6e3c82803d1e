// BulkMemoryPool: the memory the model's bulk allocations come from during
// one conversion run (memory/bulk_memory.h).
//
// A conversion makes a few small pieces per component, hundreds of
// thousands in a large design, and frees them all again with the document
// or at the end of the run. A size-class pool (memory/size_class_pool.h)
// serves them from chunks of its upstream (on the program's side the
// platform's page memory, platform/page_memory.h), with no header per
// piece and no trip through the general heap; what one document gave back
// serves the next, and the whole goes back to the upstream when the pool
// is destroyed. The upstream is the caller's and must outlive the pool.
//
// While it lives the pool is the process's default memory resource; it
// puts the previous one back when it is destroyed. Its owner makes it
// before the first model object of a run and destroys it after the last.
// It is not synchronized: the model is used from one thread.
//
// With VESK_SYSTEM_HEAP set in the environment the pool stands aside and
// the model keeps the C++ heap, so that a memory checker sees every block.
#pragma once

#include <memory_resource>
#include <optional>

#include "memory/size_class_pool.h"

namespace vesk {

class BulkMemoryPool {
 public:
  explicit BulkMemoryPool(std::pmr::memory_resource* upstream);
  BulkMemoryPool(const BulkMemoryPool&) = delete;
  BulkMemoryPool& operator=(const BulkMemoryPool&) = delete;
  ~BulkMemoryPool();

  // False when VESK_SYSTEM_HEAP kept the C++ heap.
  bool installed() const { return pool_.has_value(); }

 private:
  std::optional<SizeClassPool> pool_;
  std::pmr::memory_resource* previous_ = nullptr;
};

}  // namespace vesk
