// PartsListEntry: one row of the parts list, and the sorted list of rows
// that the builder hands to a writer.
//
// The builder owns the rows and the bytes of their texts; a SortedPartsList
// only points to the rows, in parts-list order. Both are valid while their
// builder lives.
#pragma once

#include <cstdint>
#include <memory_resource>
#include <string_view>
#include <vector>

namespace vesk {

// The texts view the builder's copies, each taken up to its first zero
// byte.
struct PartsListEntry {
  std::string_view prefix;  // the reference without its trailing decimal digits
  int number = 0;           // the value of those digits; 0 when there are none
  std::string_view name;
  std::string_view note;
  // Which input of the run the component came from: 0 for the components
  // of the builder's first collect call, 1 for the second, and so on.
  std::uint32_t input = 0;
};

// The rows in parts-list order, viewing the entries the builder owns.
using SortedPartsList = std::pmr::vector<const PartsListEntry*>;

}  // namespace vesk
