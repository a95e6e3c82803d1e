#include "convert/duplicate_summary.h"

#include "convert/reference_counts.h"

namespace vesk {

std::string referenceText(const PartsListEntry& entry) {
  std::string text;
  appendReference(text, entry.prefix, entry.number);
  return text;
}

DuplicateSummary summarizeDuplicates(const SortedPartsList& rows, std::size_t named) {
  const ReferenceCounts counts(rows);
  DuplicateSummary summary;
  summary.rows = rows.size();
  summary.repeatedReferences = counts.repeatedReferences();
  summary.conflictingReferences = counts.conflictingReferences();
  for (const std::size_t row : counts.conflictRows()) {
    if (summary.conflictNames.size() == named) break;
    summary.conflictNames.push_back(referenceText(*rows[row]));
  }
  return summary;
}

}  // namespace vesk
