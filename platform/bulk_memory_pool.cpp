#include "platform/bulk_memory_pool.h"

#include <cstdlib>

#include "platform/page_memory.h"

namespace vesk {

BulkMemoryPool::BulkMemoryPool() {
  if (std::getenv("VESK_SYSTEM_HEAP") != nullptr) return;
  pages_ = makePageMemory();
  pool_.emplace(pages_.get());
  previous_ = std::pmr::set_default_resource(&*pool_);
}

BulkMemoryPool::~BulkMemoryPool() {
  if (pool_) std::pmr::set_default_resource(previous_);
}

}  // namespace vesk
