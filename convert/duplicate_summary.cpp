#include "convert/duplicate_summary.h"

namespace vesk {

std::string referenceText(const PartsListEntry& entry) {
  // A reference without trailing digits splits into itself and 0.
  std::string text = entry.prefix;
  if (entry.number != 0 || entry.prefix.empty()) text += std::to_string(entry.number);
  return text;
}

DuplicateSummary summarizeDuplicates(const SortedPartsList& rows, std::size_t named) {
  DuplicateSummary summary;
  summary.rows = rows.size();
  const PartsListEntry* previous = nullptr;
  // Whether the reference of `previous` was counted already, as repeated
  // and as conflicting.
  bool repeated = false;
  bool conflicting = false;
  for (const PartsListEntry* row : rows) {
    const bool sameReference =
        previous != nullptr && row->number == previous->number && row->prefix == previous->prefix;
    if (!sameReference) {
      repeated = false;
      conflicting = false;
    } else {
      if (!repeated) {
        repeated = true;
        ++summary.repeatedReferences;
      }
      // Rows of one reference are sorted by name: a name unlike the one
      // before is a second name, as the "?" mark says.
      if (!conflicting && row->name != previous->name) {
        conflicting = true;
        if (summary.conflictNames.size() < named) summary.conflictNames.push_back(referenceText(*row));
        ++summary.conflictingReferences;
      }
    }
    previous = row;
  }
  return summary;
}

}  // namespace vesk
