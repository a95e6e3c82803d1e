#include "platform/bulk_memory_pool.h"

#include <cstdlib>

#include "platform/page_memory.h"

namespace vesk {

namespace {

// Pieces up to 4 MiB are pooled, the largest block of an object arena
// (2 MiB) among them, so that the blocks of one document serve the next
// instead of being mapped afresh.
std::pmr::pool_options poolOptions() {
  std::pmr::pool_options options;
  options.largest_required_pool_block = 4 * 1024 * 1024;
  return options;
}

}  // namespace

BulkMemoryPool::BulkMemoryPool() {
  if (std::getenv("VESK_SYSTEM_HEAP") != nullptr) return;
  pages_ = makePageMemory();
  pool_.emplace(poolOptions(), pages_.get());
  previous_ = std::pmr::set_default_resource(&*pool_);
}

BulkMemoryPool::~BulkMemoryPool() {
  if (pool_) std::pmr::set_default_resource(previous_);
}

}  // namespace vesk
