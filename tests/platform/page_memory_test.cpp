// The page memory a conversion run takes its memory from.
#include "platform/page_memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <memory_resource>
#include <vector>

namespace vesk {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

struct Request {
  std::size_t bytes;
  std::size_t alignment;
};

TEST(PageMemory, PiecesAreAlignedSeparateAndWritableToTheirLastByte) {
  // Small pieces are cut from shared regions; from 2 MiB on each has a
  // mapping of its own that starts on a 2 MiB boundary.
  const std::vector<Request> requests = {
      {1, 1},         {100, 8},          {4096, 4096},          {5000, 64}, {0, 16},
      {2 * kMiB, 16}, {3 * kMiB + 5, 8}, {64 * 1024, 2 * kMiB}, {kMiB, 8},  {31 * kMiB, 8},
      {7, 1},         {2 * kMiB - 1, 16}};
  const std::unique_ptr<std::pmr::memory_resource> pages = makePageMemory();
  std::pmr::memory_resource* memory = pages.get();
  std::vector<unsigned char*> pieces;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const Request& r = requests[i];
    auto* piece = static_cast<unsigned char*>(memory->allocate(r.bytes, r.alignment));
    const auto at = reinterpret_cast<std::uintptr_t>(piece);
    EXPECT_EQ(at % r.alignment, 0u) << "request " << i;
    if (r.bytes >= 2 * kMiB) {
      EXPECT_EQ(at % (2 * kMiB), 0u) << "request " << i;
    }
    if (r.bytes > 0) std::memset(piece, static_cast<int>(i + 1), r.bytes);
    pieces.push_back(piece);
  }
  // Each piece still holds its own bytes: none overlaps another.
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const std::size_t bytes = requests[i].bytes;
    if (bytes == 0) continue;
    EXPECT_EQ(pieces[i][0], i + 1) << "request " << i;
    EXPECT_EQ(pieces[i][bytes - 1], i + 1) << "request " << i;
  }
  for (std::size_t i = 0; i < requests.size(); ++i) {
    memory->deallocate(pieces[i], requests[i].bytes, requests[i].alignment);
  }
}

}  // namespace
}  // namespace vesk
