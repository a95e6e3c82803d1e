#include "platform/run_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory_resource>
#include <vector>

namespace vesk {
namespace {

// Every piece, from the heap or mapped, can be written whole, is aligned as
// asked, and goes back; the mapped ones start on a huge page.
TEST(RunMemory, PiecesOfEverySizeHoldTheirBytes) {
  const std::unique_ptr<std::pmr::memory_resource> memory = makeRunMemory();
  ASSERT_NE(memory, nullptr);
  struct Piece {
    std::size_t bytes;
    std::size_t alignment;
  };
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const Piece pieces[] = {{1, 1},        {100, 8},          {kMiB - 1, 64},
                          {kMiB, 8},     {2 * kMiB, 4096},  {3 * kMiB + 5, 16}};
  for (const Piece& piece : pieces) {
    auto* bytes = static_cast<unsigned char*>(memory->allocate(piece.bytes, piece.alignment));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % piece.alignment, 0u) << piece.bytes;
    if (piece.bytes >= kMiB) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % (2 * kMiB), 0u) << piece.bytes;
    }
    std::memset(bytes, 0xa5, piece.bytes);
    EXPECT_EQ(bytes[piece.bytes - 1], 0xa5);
    memory->deallocate(bytes, piece.bytes, piece.alignment);
  }
}

// A list that grows from heap pieces into mapped ones keeps what it holds.
TEST(RunMemory, AGrowingListKeepsItsContents) {
  const std::unique_ptr<std::pmr::memory_resource> memory = makeRunMemory();
  std::pmr::vector<std::uint32_t> list(memory.get());
  for (std::uint32_t i = 0; i < 1'000'000; ++i) list.push_back(i * 7);
  for (std::uint32_t i = 0; i < 1'000'000; i += 9973) ASSERT_EQ(list[i], i * 7);
}

}  // namespace
}  // namespace vesk
