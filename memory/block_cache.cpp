#include "memory/block_cache.h"

namespace vesk {

BlockCache::~BlockCache() {
  for (const Block& block : kept_) upstream_->deallocate(block.memory, block.bytes, block.alignment);
}

void* BlockCache::do_allocate(std::size_t bytes, std::size_t alignment) {
  for (Block& block : kept_) {
    if (block.bytes == bytes && block.alignment == alignment) {
      void* memory = block.memory;
      block = kept_.back();
      kept_.pop_back();
      ++outstanding_;
      return memory;
    }
  }
  // Room to keep every block given out, so that taking one back (which
  // must not fail) never needs memory.
  if (bytes <= kLargestKept) kept_.reserve(kept_.size() + outstanding_ + 1);
  void* memory = upstream_->allocate(bytes, alignment);
  if (bytes <= kLargestKept) ++outstanding_;
  return memory;
}

void BlockCache::do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) {
  if (bytes > kLargestKept) {
    upstream_->deallocate(memory, bytes, alignment);
    return;
  }
  --outstanding_;
  kept_.push_back(Block{memory, bytes, alignment});
}

}  // namespace vesk
