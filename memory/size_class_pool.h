// SizeClassPool: the memory resource a bulk memory pool puts under the
// model (memory/bulk_memory_pool.h).
//
// The model asks for pieces of a few dozen sizes, hundreds of thousands of
// them in a large design, and gives each back with its size. The pool
// rounds a request up to its size class (steps of 16 bytes up to 256, then
// four steps per doubling, up to 4 MiB) and keeps one list of free pieces
// per class, threaded through the free pieces themselves: taking a piece
// and giving it back are a few instructions each, with no header per piece
// and no search for the chunk a piece came from. A piece given back serves
// the next request of its class, so that the pieces of one document serve
// the next.
//
// Pieces below 64 KiB are cut one after the other from chunks of 2 MiB;
// larger pooled pieces come from the upstream one by one. Requests above
// 4 MiB, or aligned to more than 16 bytes, go straight to the upstream and
// back. Everything the pool took from its upstream goes back to it when the
// pool is destroyed; the upstream must outlive the pool. Not synchronized:
// a pool serves one thread.
#pragma once

#include <array>
#include <cstddef>
#include <memory_resource>
#include <vector>

namespace vesk {

class SizeClassPool final : public std::pmr::memory_resource {
 public:
  static constexpr std::size_t kLargestPooled = 4 * 1024 * 1024;
  static constexpr std::size_t kAlignment = 16;

  explicit SizeClassPool(std::pmr::memory_resource* upstream);
  SizeClassPool(const SizeClassPool&) = delete;
  SizeClassPool& operator=(const SizeClassPool&) = delete;
  ~SizeClassPool() override;

  // The size a request of `bytes` is served with (bytes up to 4 MiB).
  static std::size_t classSize(std::size_t bytes);

 private:
  static constexpr std::size_t kClassCount = 72;
  static constexpr std::size_t kChunk = 2 * 1024 * 1024;
  static constexpr std::size_t kLargestCut = 64 * 1024;

  struct FreePiece {
    FreePiece* next;
  };
  struct Taken {
    void* memory;
    std::size_t bytes;
  };

  // Requests the pool serves itself; the others go straight upstream.
  static bool pooled(std::size_t bytes, std::size_t alignment) {
    return bytes <= kLargestPooled && alignment <= kAlignment;
  }
  static std::size_t classOf(std::size_t bytes);
  static std::size_t sizeOfClass(std::size_t index);

  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  // A fresh piece of `size` bytes (a class size): cut from the current
  // chunk, or taken from the upstream.
  void* freshPiece(std::size_t size);

  std::pmr::memory_resource* upstream_;
  std::array<FreePiece*, kClassCount> free_{};
  std::byte* next_ = nullptr;  // the uncut rest of the current chunk
  std::byte* end_ = nullptr;
  std::vector<Taken> taken_;  // chunks and whole pieces, given back at the end
};

}  // namespace vesk
