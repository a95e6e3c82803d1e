// ObjectArena: the memory in which a document keeps its schematic objects
// and what they hold (pins, bitmaps).
//
// A large sheet holds hundreds of thousands of small objects that live
// exactly as long as their document. The arena hands out consecutive
// pieces of a few large blocks (a std::pmr::monotonic_buffer_resource):
// no header per piece, nothing to do when a piece is given back, and the
// blocks go back to their upstream all at once when the arena goes (or is
// released). The upstream is the owner's choice: the C++ heap by default,
// or the memory of a conversion run.
//
// Objects made here are owned through std::unique_ptr like any other:
// deleting one runs its destructor (which frees whatever its members took
// from elsewhere) and leaves the memory to the arena (see SchObject's
// operator delete). The arena must outlive every object made in it; its
// owner declares it before the container of objects. It is not
// synchronized: a document is read and dropped by one thread.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <new>
#include <utility>

namespace vesk {

class ObjectArena {
 public:
  explicit ObjectArena(std::pmr::memory_resource* upstream = std::pmr::new_delete_resource())
      : upstream_(upstream),
        firstBlock_(upstream->allocate(kFirstBlock)),
        memory_(firstBlock_, kFirstBlock, upstream) {}
  ~ObjectArena() {
    memory_.release();
    upstream_->deallocate(firstBlock_, kFirstBlock);
  }
  ObjectArena(const ObjectArena&) = delete;
  ObjectArena& operator=(const ObjectArena&) = delete;

  // A new T in the arena, owned by the returned pointer.
  template <class T, class... Args>
  std::unique_ptr<T> make(Args&&... args) {
    void* memory = memory_.allocate(sizeof(T), alignof(T));
    T* object = ::new (memory) T(std::forward<Args>(args)...);
    object->markArenaOwned();
    return std::unique_ptr<T>(object);
  }

  // Where the objects' containers take their memory from.
  std::pmr::memory_resource* resource() { return &memory_; }

  // Gives every block but the first back and starts again at the start of
  // the first. No object made in the arena may still be alive. Cheap when
  // the first block held everything: a reader that keeps one object at a
  // time calls it after each.
  void release() { memory_.release(); }

 private:
  // The first block, held for the arena's life: a short sheet stays small;
  // each further block is larger than the one before, so a big sheet needs
  // few of them.
  static constexpr std::size_t kFirstBlock = 16 * 1024;

  std::pmr::memory_resource* upstream_;
  void* firstBlock_;
  std::pmr::monotonic_buffer_resource memory_;
};

}  // namespace vesk
