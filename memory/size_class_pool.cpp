#include "memory/size_class_pool.h"

#include <bit>

#include "memory/room_for_one_more.h"

namespace vesk {

namespace {

constexpr std::size_t kFineStep = 16;
constexpr std::size_t kLargestFine = 256;
constexpr std::size_t kFineClasses = kLargestFine / kFineStep;  // 16 up to 256
constexpr int kLargestFineBits = 8;                             // 256 == 1 << 8

}  // namespace

SizeClassPool::SizeClassPool(std::pmr::memory_resource* upstream) : upstream_(upstream) {}

SizeClassPool::~SizeClassPool() {
  for (const Taken& piece : taken_) upstream_->deallocate(piece.memory, piece.bytes, kAlignment);
}

// Up to 256 bytes the classes are 16, 32, ..., 256 (indices 0 to 15). Above
// it, a request in (2^(p-1), 2^p] takes the first of 2^(p-1) + k 2^(p-3),
// k = 1 to 4, that holds it: 320, 384, 448, 512, 640, ... 4 MiB.
std::size_t SizeClassPool::classOf(std::size_t bytes) {
  if (bytes <= kLargestFine) return bytes == 0 ? 0 : (bytes - 1) / kFineStep;
  const int p = std::bit_width(bytes - 1);  // 2^(p-1) < bytes <= 2^p, p >= 9
  const std::size_t step = std::size_t{1} << (p - 3);
  const std::size_t k = (bytes - (std::size_t{1} << (p - 1)) + step - 1) / step;  // 1 to 4
  return kFineClasses + static_cast<std::size_t>(p - kLargestFineBits - 1) * 4 + (k - 1);
}

std::size_t SizeClassPool::classSize(std::size_t bytes) { return sizeOfClass(classOf(bytes)); }

std::size_t SizeClassPool::sizeOfClass(std::size_t index) {
  if (index < kFineClasses) return (index + 1) * kFineStep;
  const std::size_t above = index - kFineClasses;
  const int p = static_cast<int>(above / 4) + kLargestFineBits + 1;
  const std::size_t k = above % 4 + 1;
  return (std::size_t{1} << (p - 1)) + k * (std::size_t{1} << (p - 3));
}

void* SizeClassPool::do_allocate(std::size_t bytes, std::size_t alignment) {
  if (!pooled(bytes, alignment)) return upstream_->allocate(bytes, alignment);
  const std::size_t index = classOf(bytes);
  if (FreePiece* piece = free_[index]) {
    free_[index] = piece->next;
    return piece;
  }
  return freshPiece(sizeOfClass(index));
}

void SizeClassPool::do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) {
  if (!pooled(bytes, alignment)) {
    upstream_->deallocate(memory, bytes, alignment);
    return;
  }
  const std::size_t index = classOf(bytes);
  auto* piece = static_cast<FreePiece*>(memory);
  piece->next = free_[index];
  free_[index] = piece;
}

void* SizeClassPool::freshPiece(std::size_t size) {
  if (size > kLargestCut) {
    roomForOneMore(taken_);
    void* piece = upstream_->allocate(size, kAlignment);
    taken_.push_back(Taken{piece, size});
    return piece;
  }
  if (static_cast<std::size_t>(end_ - next_) < size) {
    // The rest of the old chunk, less than one piece, stays unused.
    roomForOneMore(taken_);
    next_ = static_cast<std::byte*>(upstream_->allocate(kChunk, kAlignment));
    end_ = next_ + kChunk;
    taken_.push_back(Taken{next_, kChunk});
  }
  void* piece = next_;
  next_ += size;
  return piece;
}

}  // namespace vesk
