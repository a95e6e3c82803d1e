#include "convert/grouped_parts_list.h"

#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/csv_output.h"
#include "convert/list_headers.h"
#include "convert/reference_counts.h"

namespace vesk {

namespace {

using csv::putQuoted;

// What makes two components one part.
struct PartKey {
  std::string_view prefix;
  std::string_view name;
  std::string_view note;
  bool operator==(const PartKey&) const = default;
};

struct PartKeyHash {
  std::size_t operator()(const PartKey& key) const {
    const std::hash<std::string_view> hash;
    std::size_t h = hash(key.prefix);
    h = h * 31 + hash(key.name);
    return h * 31 + hash(key.note);
  }
};

// The parts of a sorted list: for each part the rows of its components,
// ascending (and so in ascending number: the part's rows share a prefix).
// Parts are numbered in the order of their first rows.
class Parts {
 public:
  explicit Parts(const SortedPartsList& rows) {
    std::unordered_map<PartKey, std::uint32_t, PartKeyHash> partOf;
    std::vector<std::uint32_t> rowPart(rows.size());
    std::vector<std::uint32_t> sizes;
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const PartsListEntry& entry = *rows[row];
      const auto [found, added] =
          partOf.try_emplace(PartKey{entry.prefix, entry.name, entry.note},
                             static_cast<std::uint32_t>(sizes.size()));
      if (added) sizes.push_back(0);
      rowPart[row] = found->second;
      ++sizes[found->second];
    }
    // Each part's rows one after the other in one array.
    starts_.assign(sizes.size() + 1, 0);
    for (std::size_t part = 0; part < sizes.size(); ++part) {
      starts_[part + 1] = starts_[part] + sizes[part];
    }
    std::vector<std::uint32_t> next(starts_.begin(), starts_.end() - 1);
    rows_.resize(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
      rows_[next[rowPart[row]]++] = static_cast<std::uint32_t>(row);
    }
  }

  std::size_t count() const { return starts_.size() - 1; }
  const std::uint32_t* begin(std::size_t part) const { return rows_.data() + starts_[part]; }
  const std::uint32_t* end(std::size_t part) const { return rows_.data() + starts_[part + 1]; }

 private:
  std::vector<std::uint32_t> starts_;  // where each part's rows begin in rows_
  std::vector<std::uint32_t> rows_;
};

template <class Texts>
void writeParts(const SortedPartsList& rows, std::FILE* out, const Texts& texts) {
  const ReferenceCounts counts(rows);
  const Parts parts(rows);
  csv::ChunkedOutput output(out);
  std::string scratch, prefixScratch, nameScratch, noteScratch, references;
  std::vector<int> numbers;

  char* p = nullptr;
  for (std::size_t column = 0; column < std::size(kGroupedListHeader); ++column) {
    const std::string_view text = texts(kGroupedListHeader[column], scratch);
    p = output.room(1 + 2 + 2 * text.size() + 2);
    if (column != 0) *p++ = ',';
    p = putQuoted(p, text);
    output.commit(p);
  }
  p = output.room(2);
  *p++ = '\r';
  *p++ = '\n';
  output.commit(p);

  for (std::size_t part = 0; part < parts.count(); ++part) {
    const PartsListEntry& first = *rows[*parts.begin(part)];
    // The part's rows share a prefix: their numbers ascend.
    numbers.clear();
    bool repeated = false;
    for (const std::uint32_t* row = parts.begin(part); row != parts.end(part); ++row) {
      numbers.push_back(rows[*row]->number);
      repeated = repeated || counts.occurrences(*row) > 1;
    }
    references.clear();
    appendReferenceRuns(references, texts(first.prefix, prefixScratch), numbers);
    const std::string_view name = texts(first.name, nameScratch);
    const std::string_view note = texts(first.note, noteScratch);
    const auto quantity = static_cast<int>(parts.end(part) - parts.begin(part));
    p = output.room(csv::mostRowBytes(references, name, note));
    output.commit(csv::putRow(p, repeated ? '*' : 0, references, quantity, name, note));
  }
}

}  // namespace

void GroupedPartsList::write(const SortedPartsList& rows, std::FILE* out) const {
  csv::withTexts(utf8_, [&](const auto& texts) { writeParts(rows, out, texts); });
}

}  // namespace vesk
