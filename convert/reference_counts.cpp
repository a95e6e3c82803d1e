#include "convert/reference_counts.h"

#include <charconv>
#include <climits>

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

void appendReferenceRuns(std::string& out, std::string_view prefix, std::span<const int> numbers) {
  const auto follows = [&numbers](std::size_t at) {
    return numbers[at - 1] < INT_MAX && numbers[at] == numbers[at - 1] + 1;
  };
  std::size_t first = 0;
  while (first < numbers.size()) {
    std::size_t runEnd = first + 1;
    while (runEnd < numbers.size() && follows(runEnd)) ++runEnd;
    if (first != 0) out.append(", ");
    if (runEnd - first >= 3) {
      appendReference(out, prefix, numbers[first]);
      out.push_back('-');
      appendReference(out, prefix, numbers[runEnd - 1]);
    } else {
      for (std::size_t at = first; at < runEnd; ++at) {
        if (at != first) out.append(", ");
        appendReference(out, prefix, numbers[at]);
      }
    }
    first = runEnd;
  }
}

}  // namespace vesk
