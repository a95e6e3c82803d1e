#include "convert/reference_counts.h"

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
    if (namesDiffer) ++conflicting_;
    first = end;
  }
}

}  // namespace vesk
