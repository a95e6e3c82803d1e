// How often each reference occurs, over a sorted list.
#include "convert/reference_counts.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/parts_list_support.h"

namespace vesk {
namespace {

TEST(ReferenceCounts, RepeatsAndConflicts) {
  // Sorted: 1, C1, R1 (10k), R1 (10k), R3 (1k), R3 (1k), R3 (2k), R7, R07,
  // RN1 (the empty prefix first); R3 alone has names that differ.
  const auto builder = test::builtList(
      {{{"R1", "10k", "a"}, {"R3", "2k", ""}, {"C1", "1u", ""}, {"R7", "1k", ""}, {"1", "", ""}},
       {{"R3", "1k", ""}, {"R1", "10k", "b"}, {"R3", "1k", ""}, {"R07", "1k", ""},
        {"RN1", "", ""}}});
  const ReferenceCounts counts(*builder->entries());
  std::vector<std::uint32_t> occurrences;
  for (std::size_t row = 0; row < builder->entries()->size(); ++row) {
    occurrences.push_back(counts.occurrences(row));
  }
  EXPECT_EQ(occurrences, (std::vector<std::uint32_t>{1, 1, 2, 2, 3, 3, 3, 2, 2, 1}));
  EXPECT_EQ(counts.repeatedReferences(), 3u);
  EXPECT_EQ(counts.conflictingReferences(), 1u);

  const ReferenceCounts none(*test::builtList({})->entries());
  EXPECT_EQ(none.repeatedReferences(), 0u);
  EXPECT_EQ(none.conflictingReferences(), 0u);
}

}  // namespace
}  // namespace vesk
