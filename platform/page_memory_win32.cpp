#include "platform/page_memory.h"

namespace vesk {
namespace {

// Large pages on Windows need the "lock pages in memory" privilege, which
// a desktop user does not hold, so the pool takes its chunks from the C++
// heap; the pool alone spares the heap its many small requests.
class HeapPageMemory final : public std::pmr::memory_resource {
 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override {
    std::pmr::new_delete_resource()->deallocate(memory, bytes, alignment);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }
};

}  // namespace

std::unique_ptr<std::pmr::memory_resource> makePageMemory() {
  return std::make_unique<HeapPageMemory>();
}

}  // namespace vesk
