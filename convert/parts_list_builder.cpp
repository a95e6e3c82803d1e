#include "convert/parts_list_builder.h"

#include <algorithm>
#include <cstdint>

#include "convert/csv_parts_list.h"
#include "schfile/number_text.h"
#include "schobj/sch_component.h"

namespace vesk {

namespace {

// Texts from a file may hold a zero byte (from a "%00" escape); the parts
// list takes every text only up to it.
std::string_view upToZero(std::string_view text) {
  return text.substr(0, std::min(text.find('\0'), text.size()));
}

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The first eight bytes of a text, the first one most significant, padded
// with zero bytes.
std::uint64_t leadingBytes(std::string_view text) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    key <<= 8;
    if (i < text.size()) key |= static_cast<unsigned char>(text[i]);
  }
  return key;
}

}  // namespace

ReferenceParts splitReference(std::string_view reference) {
  reference = upToZero(reference);
  std::size_t split = reference.size();
  while (split > 0 && isDecimalDigit(reference[split - 1])) --split;
  // The digits alone, so the number is their value (clamped to int32).
  return ReferenceParts{reference.substr(0, split), parseNumber(reference.substr(split))};
}

PartsListBuilder::PartsListBuilder() = default;
PartsListBuilder::~PartsListBuilder() = default;

void PartsListBuilder::collect(const ObjectList& objects) {
  for (const std::unique_ptr<SchObject>& object : objects) {
    if (!object || object->typeId() != kTypeComponent) continue;
    const auto* component = dynamic_cast<const SchComponent*>(object.get());
    if (component == nullptr || upToZero(component->reference()).empty()) continue;
    addRowFor(*component);
  }
  ++inputs_;
}

namespace {

// Rows per chunk: a few hundred kilobytes.
constexpr std::size_t kRowsPerChunk = 4096;

// The three texts a row is sorted by, viewing the component's own texts.
struct RowKeys {
  ReferenceParts reference;
  std::string_view name;
};

RowKeys rowKeysOf(const SchComponent& component) {
  return RowKeys{splitReference(component.reference()), upToZero(component.name())};
}

// The order of rows, as strcmp orders texts: std::string compares through
// char_traits<char>, which orders bytes as unsigned values ("R" < "RN",
// "U" < "r", ASCII < 0x80).
int compareEntries(const PartsListEntry& a, const PartsListEntry& b) {
  if (const int c = a.prefix.compare(b.prefix); c != 0) return c;
  if (a.number != b.number) return a.number < b.number ? -1 : 1;
  return a.name.compare(b.name);
}

}  // namespace

void PartsListBuilder::addRowFor(const SchComponent& component) {
  const RowKeys row = rowKeysOf(component);
  keys_.push_back(SortKey{leadingBytes(row.reference.prefix), leadingBytes(row.name),
                          row.reference.number, static_cast<std::uint32_t>(keys_.size()),
                          row.reference.prefix.size() > 8 || row.name.size() > 8});
  if (rowChunks_.empty() || rowChunks_.back().size() == kRowsPerChunk) {
    rowChunks_.emplace_back().reserve(kRowsPerChunk);
  }
  rowChunks_.back().push_back(PartsListEntry{std::string(row.reference.prefix),
                                             row.reference.number, inputs_, std::string(row.name),
                                             std::string(upToZero(component.note()))});
}

const PartsListEntry& PartsListBuilder::row(std::uint32_t index) const {
  return rowChunks_[index / kRowsPerChunk][index % kRowsPerChunk];
}

void PartsListBuilder::build() {
  // The rows are sorted through compact keys rather than moved about as
  // rows of three strings: the first eight bytes of prefix and name as
  // big-endian numbers (zero-padded, so that they order as strcmp orders:
  // the texts hold no zero byte) and the number. Only keys that tie on a
  // text longer than eight bytes look at the texts. The sort is stable, so
  // rows equal in prefix, number and name (they differ at most in their
  // note) stay in the order of the input files. A merge sort also suits
  // the input: within one prefix, references mostly come in ascending
  // order already, as annotation numbers them.
  // The rows themselves stay where collect made them: the sorted keys give
  // the order of the pointers to them.
  std::stable_sort(keys_.begin(), keys_.end(), [this](const SortKey& a, const SortKey& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.longText || b.longText) return compareEntries(row(a.index), row(b.index)) < 0;
    if (a.number != b.number) return a.number < b.number;
    return a.name < b.name;
  });
  SortedPartsList sorted;
  sorted.reserve(keys_.size());
  for (const SortKey& key : keys_) sorted.push_back(&row(key.index));
  sorted_ = std::move(sorted);
}

int PartsListBuilder::write(std::FILE* out) const {
  if (!sorted_) return -1;
  CsvPartsList().write(*sorted_, out);
  return 0;
}

}  // namespace vesk
