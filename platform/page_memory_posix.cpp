#include "platform/page_memory.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>


namespace vesk {
namespace {

constexpr std::size_t kSmallPage = 4096;
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
// Small pieces are cut from regions of this size, one after the other.
constexpr std::size_t kRegion = 16 * kHugePage;

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

class PosixPageMemory final : public std::pmr::memory_resource {
 public:
  PosixPageMemory() = default;
  PosixPageMemory(const PosixPageMemory&) = delete;
  PosixPageMemory& operator=(const PosixPageMemory&) = delete;
  ~PosixPageMemory() override {
    for (std::byte* region : regions_) munmap(region, kRegion);
  }

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    // A pool asks for its chunks aligned to their block size, up to
    // megabytes; anything else asks for little.
    if (bytes >= kHugePage) return mapAligned(bytes, alignment);
    if (bytes == 0) bytes = 1;
    const auto end = reinterpret_cast<std::uintptr_t>(end_);
    std::uintptr_t at = roundUp(reinterpret_cast<std::uintptr_t>(next_), alignment);
    if (next_ == nullptr || at < reinterpret_cast<std::uintptr_t>(next_) || at > end ||
        bytes > end - at) {
      // Room for the record before the mapping, which must not be lost.
      if (regions_.size() == regions_.capacity()) regions_.reserve(2 * regions_.size() + 16);
      next_ = static_cast<std::byte*>(mapAligned(kRegion, alignment));
      regions_.push_back(next_);
      end_ = next_ + kRegion;
      at = reinterpret_cast<std::uintptr_t>(next_);
    }
    std::byte* piece = next_ + (at - reinterpret_cast<std::uintptr_t>(next_));
    next_ = piece + bytes;
    return piece;
  }

  void do_deallocate(void* memory, std::size_t bytes, std::size_t) override {
    // A small piece stays in its region until the regions go.
    if (bytes >= kHugePage) munmap(memory, roundUp(bytes, kSmallPage));
  }

  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  // A mapping of `bytes` (in whole small pages) that starts on a huge
  // page, or on `alignment` when that is larger, so that the kernel can
  // back every whole 2 MiB of it with one huge page.
  static void* mapAligned(std::size_t bytes, std::size_t alignment) {
    const std::size_t align = alignment > kHugePage ? alignment : kHugePage;
    const std::size_t size = roundUp(bytes, kSmallPage);
    const std::size_t slack = align - kSmallPage;
    if (size < bytes || size > SIZE_MAX - slack) throw std::bad_alloc();
    void* mapped =
        mmap(nullptr, size + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    // Give back the pages before the aligned start and after the end.
    auto* start = static_cast<std::byte*>(mapped);
    const std::size_t lead = (align - reinterpret_cast<std::uintptr_t>(start) % align) % align;
    if (lead != 0) munmap(start, lead);
    if (slack > lead) munmap(start + lead + size, slack - lead);
#ifdef MADV_HUGEPAGE
    // Advice only: where huge pages are off or used up, small ones serve.
    madvise(start + lead, size, MADV_HUGEPAGE);
#endif
    return start + lead;
  }

  std::vector<std::byte*> regions_;  // each kRegion bytes
  std::byte* next_ = nullptr;
  std::byte* end_ = nullptr;
};

}  // namespace

std::unique_ptr<std::pmr::memory_resource> makePageMemory() {
  return std::make_unique<PosixPageMemory>();
}

}  // namespace vesk
