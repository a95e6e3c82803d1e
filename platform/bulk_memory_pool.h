// BulkMemoryPool: the memory the model's bulk allocations come from during
// one conversion run (schobj/bulk_memory.h).
//
// A conversion makes a few small pieces per component, hundreds of
// thousands in a large design, and frees them all again with the document
// or at the end of the run. A size-class pool (platform/size_class_pool.h)
// serves them from chunks of page memory (platform/page_memory.h), with no
// header per piece and no trip through the general heap; what one document
// gave back serves the next, and the whole goes back to the system when
// the pool is destroyed.
//
// While it lives the pool is the process's default memory resource; it
// puts the previous one back when it is destroyed. Its owner makes it
// before the first model object of a run and destroys it after the last.
// It is not synchronized: the model is used from one thread.
//
// With VESK_SYSTEM_HEAP set in the environment the pool stands aside and
// the model keeps the C++ heap, so that a memory checker sees every block.
#pragma once

#include <memory>
#include <memory_resource>
#include <optional>

#include "platform/size_class_pool.h"

namespace vesk {

class BulkMemoryPool {
 public:
  BulkMemoryPool();
  BulkMemoryPool(const BulkMemoryPool&) = delete;
  BulkMemoryPool& operator=(const BulkMemoryPool&) = delete;
  ~BulkMemoryPool();

  // False when VESK_SYSTEM_HEAP kept the C++ heap.
  bool installed() const { return pool_.has_value(); }

 private:
  // Declared before the pool, which gives its chunks back to it.
  std::unique_ptr<std::pmr::memory_resource> pages_;
  std::optional<SizeClassPool> pool_;
  std::pmr::memory_resource* previous_ = nullptr;
};

}  // namespace vesk
