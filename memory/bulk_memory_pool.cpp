#include "memory/bulk_memory_pool.h"

#include <cstdlib>

namespace vesk {

BulkMemoryPool::BulkMemoryPool(std::pmr::memory_resource* upstream) {
  if (std::getenv("VESK_SYSTEM_HEAP") != nullptr) return;
  pool_.emplace(upstream);
  previous_ = std::pmr::set_default_resource(&*pool_);
}

BulkMemoryPool::~BulkMemoryPool() {
  if (pool_) std::pmr::set_default_resource(previous_);
}

}  // namespace vesk
