#include "schobj/object_arena.h"

#include <cstdint>

namespace vesk {

ObjectArena::~ObjectArena() = default;

void* ObjectArena::allocate(std::size_t size, std::size_t alignment) {
  const auto at = reinterpret_cast<std::uintptr_t>(next_);
  const std::uintptr_t aligned = (at + alignment - 1) & ~(alignment - 1);
  const auto room = static_cast<std::size_t>(end_ - next_);
  if (next_ == nullptr || aligned - at > room || size > room - (aligned - at)) {
    return allocateInNewBlock(size, alignment);
  }
  last_ = next_ + (aligned - at);
  next_ = last_ + size;
  inUse_ += size;
  return last_;
}

void* ObjectArena::allocateInNewBlock(std::size_t size, std::size_t alignment) {
  // Blocks come from new[], aligned for every fundamental type; an object
  // larger than a block gets a block of its own.
  std::size_t blockSize = nextBlockSize_;
  if (nextBlockSize_ < kLargestBlock) nextBlockSize_ *= 2;
  if (blockSize < size + alignment) blockSize = size + alignment;
  blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize));
  next_ = blocks_.back().get();
  end_ = next_ + blockSize;
  return allocate(size, alignment);
}

void ObjectArena::rewindLast() {
  inUse_ -= static_cast<std::size_t>(next_ - last_);
  next_ = last_;
  last_ = nullptr;
}

void ObjectArena::release() {
  blocks_.clear();
  next_ = end_ = last_ = nullptr;
  nextBlockSize_ = kFirstBlock;
  inUse_ = 0;
}

}  // namespace vesk
