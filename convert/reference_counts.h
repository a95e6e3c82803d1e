// ReferenceCounts: how often each reference occurs in the whole design.
//
// A reference is a prefix and a number, as the parts list splits it (R07
// and R7 are one reference). Placing two components under one reference
// is a mistake of the design, or a part drawn on two sheets; the lists
// mark such rows, and a run can report how many references repeat and
// how many of those carry different names (a conflict rather than a copy).
//
// The counts are taken over a sorted parts list, where the rows of one
// reference stand next to each other (they sort by prefix, number, name).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/parts_list_entry.h"

namespace vesk {

class ReferenceCounts {
 public:
  explicit ReferenceCounts(const SortedPartsList& rows);

  // How many rows of the design carry the reference of row `row` of the
  // list the counts were taken over (1 for a reference used once).
  std::uint32_t occurrences(std::size_t row) const { return counts_[row]; }
  // How many distinct references occur more than once.
  std::size_t repeatedReferences() const { return repeated_; }
  // How many of those are carried by components of different names.
  std::size_t conflictingReferences() const { return conflictRows_.size(); }
  // The first row of each of those references, in list order.
  const std::vector<std::size_t>& conflictRows() const { return conflictRows_; }

 private:
  std::vector<std::uint32_t> counts_;
  std::size_t repeated_ = 0;
  std::vector<std::size_t> conflictRows_;
};

// Appends a reference as the prefix and number it was split into, the way
// the lists show it: "R12", "7" (no prefix), "TP0" (no digits: TP and TP0
// are one reference to the list).
void appendReference(std::string& out, std::string_view prefix, int number);

// Appends the references of one part, `numbers` ascending, as the lists
// show them: separated by ", ", a run of three or more numbers each one
// above the one before as its first and last reference joined by "-"
// (R1-R4), a run of two as two references (R1, R2). A number given twice
// is listed twice, and the repeat begins a new run: 1, 1, 2, 3 is
// "R1, R1-R3".
void appendReferenceRuns(std::string& out, std::string_view prefix, std::span<const int> numbers);

}  // namespace vesk
