// ObjectArena: the memory in which a document keeps its schematic objects.
//
// A large sheet holds hundreds of thousands of small objects (wires above
// all) that live exactly as long as their owner. Taking each of them from
// the general heap costs a block header and a trip through the allocator,
// and giving them back costs as much again. The arena hands out consecutive
// pieces of a few large blocks instead and returns the blocks all at once
// when it is reset or destroyed. The blocks are bulk memory
// (memory/bulk_memory.h).
//
// Objects made here are owned through std::unique_ptr like any other:
// deleting one runs its destructor (which frees whatever its members hold)
// and leaves the memory to the arena (see SchObject's operator delete). The
// arena must therefore outlive every object made in it; its owner declares
// it before the container of objects.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace vesk {

class ObjectArena {
 public:
  ObjectArena() = default;
  ObjectArena(const ObjectArena&) = delete;
  ObjectArena& operator=(const ObjectArena&) = delete;
  ~ObjectArena();

  // A new T in the arena, owned by the returned pointer.
  template <class T, class... Args>
  std::unique_ptr<T> make(Args&&... args) {
    void* memory = allocate(sizeof(T), alignof(T));
    T* object = ::new (memory) T(std::forward<Args>(args)...);
    object->markArenaOwned();
    return std::unique_ptr<T>(object);
  }

  // Deletes an object made here and takes its memory back when it was the
  // last one made (a block that was read but turned out invalid), so that
  // a file of invalid blocks does not fill the arena; otherwise the memory
  // stays unused until release.
  template <class T>
  void discard(std::unique_ptr<T> object) {
    const bool wasLast = object && dynamic_cast<void*>(object.get()) == last_;
    object.reset();
    if (wasLast) rewindLast();
  }

  // Frees every block. No object made in the arena may still be alive.
  void release();

  // Bytes handed out and not given back, for tests and benchmarks.
  std::size_t bytesInUse() const { return inUse_; }

 private:
  void* allocate(std::size_t size, std::size_t alignment);
  void* allocateInNewBlock(std::size_t size, std::size_t alignment);
  void rewindLast();

  // The first block is small (a short sheet stays small); later blocks
  // grow up to the largest size, so a big sheet needs few of them.
  static constexpr std::size_t kFirstBlock = 16 * 1024;
  static constexpr std::size_t kLargestBlock = 2 * 1024 * 1024;

  // A block of bulk memory, given back when the arena lets it go.
  class Block {
   public:
    explicit Block(std::size_t size);
    Block(Block&& other) noexcept
        : bytes_(std::exchange(other.bytes_, nullptr)), size_(other.size_) {}
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    Block& operator=(Block&&) = delete;
    ~Block();
    std::byte* bytes() const { return bytes_; }

   private:
    std::byte* bytes_;
    std::size_t size_;
  };

  std::vector<Block> blocks_;
  std::byte* next_ = nullptr;
  std::byte* end_ = nullptr;
  std::byte* last_ = nullptr;  // the latest piece handed out
  std::size_t nextBlockSize_ = kFirstBlock;
  std::size_t inUse_ = 0;
};

}  // namespace vesk
