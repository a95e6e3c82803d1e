// Bulk memory: where the model takes what it allocates in quantity.
//
// A large design makes hundreds of thousands of bitmaps, pin arrays, long
// texts and object blocks, twice over (the document's and the parts list's
// copies). They all come from std::pmr::get_default_resource(), so that a
// program can put one resource of its choice under all of them (vesk's
// shell installs a pool over large pages) while tests and any other caller
// get the plain C++ heap, the standard default.
//
// The default resource must stay the same while anything made here lives:
// a program that installs its own does so before it makes any model
// object, and puts the previous one back only after the last is gone.
// Every piece goes back to the resource with the size and alignment it was
// taken with, as std::pmr requires.
#pragma once

#include <cstddef>
#include <memory_resource>

namespace vesk {

inline void* allocateBulk(std::size_t bytes, std::size_t alignment) {
  return std::pmr::get_default_resource()->allocate(bytes, alignment);
}

inline void freeBulk(void* memory, std::size_t bytes, std::size_t alignment) {
  std::pmr::get_default_resource()->deallocate(memory, bytes, alignment);
}

// An allocator for the model's containers. It holds no state, so a
// container of it is as small as one with std::allocator, and copies of a
// container (deep copies of a part, say) take their memory from the same
// place as the original.
template <class T>
class BulkAllocator {
 public:
  using value_type = T;

  BulkAllocator() = default;
  template <class U>
  BulkAllocator(const BulkAllocator<U>&) noexcept {}  // NOLINT: implicit, for rebinding

  T* allocate(std::size_t count) {
    return static_cast<T*>(allocateBulk(count * sizeof(T), alignof(T)));
  }
  void deallocate(T* memory, std::size_t count) noexcept {
    freeBulk(memory, count * sizeof(T), alignof(T));
  }

  template <class U>
  bool operator==(const BulkAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace vesk
