#include "convert/reference_counts.h"

#include <charconv>

namespace vesk {

ReferenceCounts::ReferenceCounts(const SortedPartsList& rows) : counts_(rows.size(), 0) {
  std::size_t first = 0;
  while (first < rows.size()) {
    // The run of rows sharing the reference of row `first`.
    const PartsListEntry& reference = *rows[first];
    std::size_t end = first + 1;
    bool namesDiffer = false;
    while (end < rows.size() && rows[end]->number == reference.number &&
           rows[end]->prefix == reference.prefix) {
      namesDiffer = namesDiffer || rows[end]->name != reference.name;
      ++end;
    }
    const auto count = static_cast<std::uint32_t>(end - first);
    for (std::size_t row = first; row < end; ++row) counts_[row] = count;
    if (count > 1) ++repeated_;
    if (namesDiffer) conflictRows_.push_back(first);
    first = end;
  }
}

void appendReference(std::string& out, std::string_view prefix, int number) {
  out.append(prefix);
  char digits[16];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

}  // namespace vesk
