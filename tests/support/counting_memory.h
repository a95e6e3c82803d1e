// CountingMemory: a memory resource that counts the bytes passing through
// it to the heap, for tests of who takes how much memory and gives it all
// back. Not synchronized.
#pragma once

#include <cstddef>
#include <memory_resource>

namespace vesk::test {

class CountingMemory final : public std::pmr::memory_resource {
 public:
  std::size_t taken = 0;        // every byte ever handed out
  std::size_t outstanding = 0;  // bytes handed out and not yet given back

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    taken += bytes;
    outstanding += bytes;
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override {
    outstanding -= bytes;
    std::pmr::new_delete_resource()->deallocate(memory, bytes, alignment);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }
};

}  // namespace vesk::test
