// DuplicateSummary: what the sorted parts list tells about references
// that occur more than once.
//
// The list's reason to exist is finding the components that share a
// reference across sheets; the CSV marks such rows ("*" for the same
// name, "?" for another name, convert/csv_parts_list.h), and this summary
// counts them for a user who will not read every row: how many rows, how
// many references stand on more than one row, and which of those have
// rows of different names (the references of the "?" rows), the first
// few by name and the rest counted.
//
// Taken from the counts of the references (convert/reference_counts.h),
// which the grouped list's marks come from too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "convert/parts_list_entry.h"

namespace vesk {

struct DuplicateSummary {
  std::size_t rows = 0;
  // References on more than one row.
  std::size_t repeatedReferences = 0;
  // Of those, the references whose rows do not all have one name.
  std::size_t conflictingReferences = 0;
  // The first of the conflicting references in list order, as the lists
  // show a reference (referenceText), at most `named` of them.
  std::vector<std::string> conflictNames;

  bool hasDuplicates() const { return repeatedReferences != 0; }
};

// How many conflicting references a summary names by default.
inline constexpr std::size_t kNamedConflicts = 5;

DuplicateSummary summarizeDuplicates(const SortedPartsList& rows,
                                     std::size_t named = kNamedConflicts);

// A reference from its parts, as the lists show it: "R12", "7", "TP0"
// (appendReference, convert/reference_counts.h).
std::string referenceText(const PartsListEntry& entry);

}  // namespace vesk
