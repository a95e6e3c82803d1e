#include "memory/bulk_memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <map>
#include <memory_resource>
#include <string>

#include "convert/parts_list_builder.h"
#include "schfile/sch_document.h"

namespace vesk {
namespace {

// A default resource that remembers every piece it hands out and checks
// that each comes back once, with the size and alignment it was taken
// with, as std::pmr requires of its callers.
class CheckingResource final : public std::pmr::memory_resource {
 public:
  CheckingResource() : previous_(std::pmr::set_default_resource(this)) {}
  ~CheckingResource() override { std::pmr::set_default_resource(previous_); }

  std::size_t handedOut() const { return handedOut_; }
  std::size_t outstanding() const { return live_.size(); }
  int mismatches() const { return mismatches_; }

 private:
  struct Piece {
    std::size_t bytes;
    std::size_t alignment;
  };

  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    void* memory = std::pmr::new_delete_resource()->allocate(bytes, alignment);
    live_[memory] = Piece{bytes, alignment};
    ++handedOut_;
    return memory;
  }
  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override {
    const auto found = live_.find(memory);
    if (found == live_.end() || found->second.bytes != bytes ||
        found->second.alignment != alignment) {
      ++mismatches_;
      if (found == live_.end()) return;  // not ours: leave it alone
    }
    std::pmr::new_delete_resource()->deallocate(memory, found->second.bytes,
                                                found->second.alignment);
    live_.erase(found);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  std::pmr::memory_resource* previous_;
  std::map<void*, Piece> live_;
  std::size_t handedOut_ = 0;
  int mismatches_ = 0;
};

// Reads both examples (components with bitmaps, pins and Shift-JIS
// notes) with every bulk allocation watched, collects and sorts the parts
// list, and drops it all.
TEST(BulkMemory, AConversionTakesItsMemoryFromTheDefaultResourceAndGivesItAllBack) {
  CheckingResource resource;
  std::size_t afterLoad = 0;
  {
    PartsListBuilder builder;
    for (const char* name : {"amp_main.ce3", "amp_power.ce3"}) {
      SchDocument document;
      ASSERT_EQ(document.load((std::string(VESK_EXAMPLES_DIR "/") + name).c_str()), 0) << name;
      ASSERT_FALSE(document.objects().empty());
      afterLoad = resource.handedOut();
      builder.collect(document.objects());
    }
    builder.build();
    EXPECT_GT(resource.outstanding(), 0u);  // the builder's copies
  }
  EXPECT_GT(afterLoad, 0u);
  EXPECT_EQ(resource.outstanding(), 0u) << "pieces never given back";
  EXPECT_EQ(resource.mismatches(), 0) << "pieces given back with another size or alignment";
}

}  // namespace
}  // namespace vesk
