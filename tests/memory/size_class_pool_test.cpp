// The size-class pool under the model: which size serves a request, that
// pieces come back to serve their class again, and that the upstream gets
// back exactly what it gave.
#include "memory/size_class_pool.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory_resource>
#include <utility>
#include <vector>

namespace vesk {
namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = 1024 * kKiB;

// An upstream that remembers every piece it handed out, with its size and
// alignment, and fails the test when a piece comes back otherwise.
class RecordingUpstream final : public std::pmr::memory_resource {
 public:
  ~RecordingUpstream() override {
    EXPECT_TRUE(live_.empty()) << live_.size() << " pieces never came back";
    for (const auto& [memory, request] : live_) {
      std::pmr::new_delete_resource()->deallocate(memory, request.first, request.second);
    }
  }
  std::size_t liveCount() const { return live_.size(); }
  std::size_t allocations() const { return allocations_; }

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    void* memory = std::pmr::new_delete_resource()->allocate(bytes, alignment);
    live_[memory] = {bytes, alignment};
    ++allocations_;
    return memory;
  }
  void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override {
    const auto found = live_.find(memory);
    ASSERT_NE(found, live_.end()) << "a piece the upstream never gave";
    EXPECT_EQ(found->second, std::make_pair(bytes, alignment));
    live_.erase(found);
    std::pmr::new_delete_resource()->deallocate(memory, bytes, alignment);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  std::map<void*, std::pair<std::size_t, std::size_t>> live_;
  std::size_t allocations_ = 0;
};

TEST(SizeClassPool, ServesEachRequestWithTheSmallestClassThatHoldsIt) {
  const std::vector<std::pair<std::size_t, std::size_t>> cases = {
      {0, 16},          {1, 16},         {16, 16},        {17, 32},          {120, 128},
      {130, 144},       {256, 256},      {257, 320},      {320, 320},        {321, 384},
      {512, 512},       {513, 640},      {1000, 1024},    {1025, 1280},      {64 * kKiB, 64 * kKiB},
      {64 * kKiB + 1, 80 * kKiB},        {2 * kMiB - 1, 2 * kMiB},            {2 * kMiB, 2 * kMiB},
      {3 * kMiB + 1, 3584 * kKiB},       {4 * kMiB, 4 * kMiB}};
  for (const auto& [bytes, size] : cases) {
    EXPECT_EQ(SizeClassPool::classSize(bytes), size) << bytes << " bytes";
  }
  // Every class holds its requests, and wastes at most a quarter above 256.
  for (std::size_t bytes = 1; bytes <= SizeClassPool::kLargestPooled; bytes += bytes / 7 + 1) {
    const std::size_t size = SizeClassPool::classSize(bytes);
    EXPECT_GE(size, bytes);
    EXPECT_EQ(size % SizeClassPool::kAlignment, 0u) << bytes;
    if (bytes > 256) {
      EXPECT_LE(size, bytes + bytes / 4) << bytes;
    }
  }
}

TEST(SizeClassPool, PiecesAreSeparateAndAGivenBackPieceServesItsClassAgain) {
  RecordingUpstream upstream;
  {
    SizeClassPool pool(&upstream);
    // Sizes from a byte to whole arena blocks, with neighbours of one class.
    const std::vector<std::size_t> sizes = {1,   24,   120,       128,       130,     300,
                                            700, 5000, 70 * kKiB, 2 * kMiB, 4 * kMiB, 33};
    std::vector<unsigned char*> pieces;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      auto* piece = static_cast<unsigned char*>(pool.allocate(sizes[i], 16));
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(piece) % 16, 0u) << sizes[i];
      std::memset(piece, static_cast<int>(i + 1), sizes[i]);
      pieces.push_back(piece);
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      EXPECT_EQ(pieces[i][0], i + 1) << sizes[i];
      EXPECT_EQ(pieces[i][sizes[i] - 1], i + 1) << sizes[i];
    }
    // A piece given back is the next one of its class, whatever size in
    // the class asks: 120 and 128 share one, 130 is another.
    pool.deallocate(pieces[2], 120, 16);
    EXPECT_EQ(pool.allocate(128, 16), pieces[2]);
    pool.deallocate(pieces[4], 130, 16);
    EXPECT_NE(pool.allocate(120, 16), pieces[4]);
    EXPECT_EQ(pool.allocate(140, 8), pieces[4]);
    pool.deallocate(pieces[9], 2 * kMiB, 16);
    const std::size_t taken = upstream.allocations();
    EXPECT_EQ(pool.allocate(2 * kMiB - 100, 16), pieces[9]);
    EXPECT_EQ(upstream.allocations(), taken);
  }
  EXPECT_EQ(upstream.liveCount(), 0u);
}

TEST(SizeClassPool, PassesHugeAndOverAlignedRequestsStraightThrough) {
  RecordingUpstream upstream;
  SizeClassPool pool(&upstream);
  const struct {
    std::size_t bytes;
    std::size_t alignment;
  } requests[] = {{4 * kMiB + 1, 16}, {100, 64}, {8 * kMiB, 8}, {4096, 4096}};
  for (const auto& r : requests) {
    const std::size_t before = upstream.liveCount();
    void* piece = pool.allocate(r.bytes, r.alignment);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(piece) % r.alignment, 0u);
    EXPECT_EQ(upstream.liveCount(), before + 1) << r.bytes;
    pool.deallocate(piece, r.bytes, r.alignment);
    EXPECT_EQ(upstream.liveCount(), before) << r.bytes;
  }
}

}  // namespace
}  // namespace vesk
