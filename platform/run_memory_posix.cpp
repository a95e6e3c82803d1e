#include "platform/run_memory.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace vesk {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargePiece = std::size_t{1} << 20;

class HugePageMemory final : public std::pmr::memory_resource {
 private:
  static std::size_t mappedSize(std::size_t bytes) {
    if (bytes > SIZE_MAX - kHugePage) throw std::bad_alloc();
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
  }

  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    if (bytes < kLargePiece || alignment > kHugePage) {
      return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    }
    // Mapped with a huge page's worth to spare, then trimmed to start on a
    // huge page: only whole aligned 2 MiB can be backed by one.
    const std::size_t size = mappedSize(bytes);
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    auto* start = static_cast<std::byte*>(mapped);
    const std::size_t lead =
        (kHugePage - reinterpret_cast<std::uintptr_t>(start) % kHugePage) % kHugePage;
    if (lead != 0) munmap(start, lead);
    munmap(start + lead + size, kHugePage - lead);
#ifdef MADV_HUGEPAGE
    // Advice only: where huge pages are off or used up, small ones serve.
    madvise(start + lead, size, MADV_HUGEPAGE);
#endif
    return start + lead;
  }

  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override {
    if (bytes < kLargePiece || alignment > kHugePage) {
      std::pmr::new_delete_resource()->deallocate(memory, bytes, alignment);
    } else {
      munmap(memory, mappedSize(bytes));
    }
  }

  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }
};

}  // namespace

std::unique_ptr<std::pmr::memory_resource> makeRunMemory() {
  return std::make_unique<HugePageMemory>();
}

}  // namespace vesk
