#include "memory/object_arena.h"

#include <cstdint>

#include "memory/bulk_memory.h"

namespace vesk {

// Every object fits the alignment of the largest fundamental type.
constexpr std::size_t kBlockAlignment = alignof(std::max_align_t);

ObjectArena::Block::Block(std::size_t size)
    : bytes_(static_cast<std::byte*>(allocateBulk(size, kBlockAlignment))), size_(size) {}

ObjectArena::Block::~Block() {
  if (bytes_ != nullptr) freeBulk(bytes_, size_, kBlockAlignment);
}

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
  // An object larger than a block gets a block of its own.
  std::size_t blockSize = nextBlockSize_;
  if (nextBlockSize_ < kLargestBlock) nextBlockSize_ *= 2;
  if (blockSize < size + alignment) blockSize = size + alignment;
  blocks_.emplace_back(blockSize);
  next_ = blocks_.back().bytes();
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
