// BlockCache: keeps the blocks that one document's arena gives back, for
// the arena of the next.
//
// A conversion run reads its files one after the other, each into a
// document whose arena takes blocks of the same growing sizes. Taking
// them afresh for every file would touch fresh memory (a page fault per
// page, and the pages cleared) as often as there are files; kept here,
// the blocks of the first file serve the rest, and only a file larger
// than any before needs more. Blocks larger than kLargestKept go back to
// the upstream at once: only a very large file asks for them, and its
// memory is better returned before the parts list is made.
//
// A block is given out only for a request of its exact size and
// alignment. Everything kept goes back to the upstream when the cache is
// destroyed; the upstream must outlive it. Not synchronized: a run uses it
// from one thread.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <vector>

namespace vesk {

class BlockCache final : public std::pmr::memory_resource {
 public:
  static constexpr std::size_t kLargestKept = 4 * 1024 * 1024;

  explicit BlockCache(std::pmr::memory_resource* upstream) : upstream_(upstream) {}
  BlockCache(const BlockCache&) = delete;
  BlockCache& operator=(const BlockCache&) = delete;
  ~BlockCache() override;

 private:
  struct Block {
    void* memory;
    std::size_t bytes;
    std::size_t alignment;
  };

  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  std::pmr::memory_resource* upstream_;
  std::vector<Block> kept_;
  std::size_t outstanding_ = 0;  // blocks given out that may come back
};

}  // namespace vesk
