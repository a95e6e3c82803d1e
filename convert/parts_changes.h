// PartsChanges: what changed between a parts list written earlier (read
// back by convert/parts_list_reader.h) and the design as it is now, part
// by part: what to order now and what to take off the board.
//
// A part is a distinct reference prefix, name and note, as the grouped
// list counts them, and its references are a multiset of numbers (the
// prefix is the part's): a reference placed twice counts twice, so a
// repeat that was taken away shows as removed once. A part of the design
// whose numbers differ from those of the list's part with the same texts
// has changed; one the list has not was added; one of the list that the
// design has no more was removed. Parts whose numbers are the same are
// left out.
//
// Texts compare byte for byte, in Shift-JIS, as the list writes them: the
// design's texts without the CR bytes that no list holds. A part of the
// list whose texts held a character without a Shift-JIS form matches
// nothing (ListedPart::comparable).
//
// The changes view the design's rows and the list's parts, which must
// outlive them. Plain values; nothing throws.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "convert/parts_list_entry.h"

namespace vesk {

struct ListedParts;

struct PartChange {
  enum class Kind {
    kAdded,    // the list has no such part
    kRemoved,  // the design has no such part now
    kChanged,  // both have it, with other references
  };

  Kind kind = Kind::kChanged;
  std::string_view prefix;
  std::string_view name;
  std::string_view note;
  std::size_t before = 0;  // the quantity in the list
  std::size_t now = 0;     // the quantity in the design
  // The numbers of the references the design has and the list had not,
  // and the other way round; ascending, a repeat as often as it differs.
  std::vector<int> added;
  std::vector<int> removed;
};

// How many parts changed in each way.
struct ChangeCounts {
  std::size_t added = 0;
  std::size_t removed = 0;
  std::size_t changed = 0;

  std::size_t total() const { return added + removed + changed; }
  bool operator==(const ChangeCounts&) const = default;
};

struct PartsChanges {
  // The design's parts in the grouped list's order (by the first row of
  // each in the sorted rows), then the removed parts in the list's order.
  std::vector<PartChange> parts;
  ChangeCounts counts;
};

// The changes from `earlier` to the design's sorted `rows`.
PartsChanges compareParts(const SortedPartsList& rows, const ListedParts& earlier);

}  // namespace vesk
