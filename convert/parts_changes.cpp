#include "convert/parts_changes.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>

#include "convert/part_texts_key.h"
#include "convert/parts_list_reader.h"

namespace vesk {

namespace {

using TextsKey = PartTextsKey<std::string_view>;

// The design's texts as a list holds them: without CR. The copies of the
// few texts that hold one are kept here.
class ListedTexts {
 public:
  std::string_view operator()(std::string_view text) {
    if (text.find('\r') == std::string_view::npos) return text;
    std::string& copy = copies_.emplace_back(text);
    std::erase(copy, '\r');
    return copy;
  }

 private:
  std::deque<std::string> copies_;  // never moved once made
};

struct DesignPart {
  TextsKey key;
  const PartsListEntry* first;  // the part's first row
  std::vector<int> numbers;
};

// The numbers of `a` that `b` lacks, as often as `a` has them more often;
// both ascending.
std::vector<int> without(const std::vector<int>& a, const std::vector<int>& b) {
  std::vector<int> rest;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rest));
  return rest;
}

}  // namespace

PartsChanges compareParts(const SortedPartsList& rows, const ListedParts& earlier) {
  ListedTexts listed;
  std::unordered_map<TextsKey, std::size_t, PartTextsKeyHash> designIndex;
  std::vector<DesignPart> design;
  for (const PartsListEntry* row : rows) {
    const TextsKey key{listed(row->prefix), listed(row->name), listed(row->note)};
    const auto [found, added] = designIndex.try_emplace(key, design.size());
    if (added) design.push_back(DesignPart{key, row, {}});
    design[found->second].numbers.push_back(row->number);
  }

  std::unordered_map<TextsKey, std::size_t, PartTextsKeyHash> earlierIndex;
  for (std::size_t i = 0; i < earlier.parts.size(); ++i) {
    const ListedPart& part = earlier.parts[i];
    if (part.comparable) earlierIndex.try_emplace(TextsKey{part.prefix, part.name, part.note}, i);
  }

  PartsChanges changes;
  std::vector<bool> matched(earlier.parts.size(), false);
  for (DesignPart& part : design) {
    // A part's rows ascend by number, unless texts apart only by a CR
    // made two parts one.
    if (!std::is_sorted(part.numbers.begin(), part.numbers.end())) {
      std::sort(part.numbers.begin(), part.numbers.end());
    }
    PartChange change;
    change.prefix = part.first->prefix;
    change.name = part.first->name;
    change.note = part.first->note;
    change.now = part.numbers.size();
    const auto found = earlierIndex.find(part.key);
    if (found == earlierIndex.end()) {
      change.kind = PartChange::Kind::kAdded;
      change.added = std::move(part.numbers);
      ++changes.counts.added;
    } else {
      matched[found->second] = true;
      const std::vector<int>& before = earlier.parts[found->second].numbers;
      change.before = before.size();
      change.added = without(part.numbers, before);
      change.removed = without(before, part.numbers);
      if (change.added.empty() && change.removed.empty()) continue;
      change.kind = PartChange::Kind::kChanged;
      ++changes.counts.changed;
    }
    changes.parts.push_back(std::move(change));
  }

  for (std::size_t i = 0; i < earlier.parts.size(); ++i) {
    if (matched[i]) continue;
    const ListedPart& part = earlier.parts[i];
    PartChange change;
    change.kind = PartChange::Kind::kRemoved;
    change.prefix = part.prefix;
    change.name = part.name;
    change.note = part.note;
    change.before = part.numbers.size();
    change.removed = part.numbers;
    changes.parts.push_back(std::move(change));
    ++changes.counts.removed;
  }
  return changes;
}

}  // namespace vesk
