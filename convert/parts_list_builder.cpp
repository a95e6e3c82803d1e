#include "convert/parts_list_builder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

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

PartsListBuilder::PartsListBuilder(std::pmr::memory_resource* memory)
    : memory_(kRowBlock, memory), rows_(memory) {}
PartsListBuilder::~PartsListBuilder() = default;

void PartsListBuilder::collect(const SchComponent& component) {
  const std::string_view reference = upToZero(component.reference());
  if (reference.empty()) return;
  const ReferenceParts parts = splitReference(reference);
  addRow(parts.number, parts.prefix, upToZero(component.name()), upToZero(component.note()));
}

void PartsListBuilder::collect(const ObjectList& objects) {
  for (const std::unique_ptr<SchObject>& object : objects) {
    if (object && object->typeId() == kTypeComponent) {
      collect(static_cast<const SchComponent&>(*object));
    }
  }
  endInput();
}

namespace {

// What a row is sorted by: the first eight bytes of prefix and name as
// big-endian numbers (zero-padded, so that they order as strcmp orders:
// the texts hold no zero byte) and the number; the row itself for the keys
// that tie on a text longer than eight bytes.
struct SortKey {
  std::uint64_t prefix;
  std::uint64_t name;
  const PartsListEntry* row;
  int number;
  bool longText;
  std::uint32_t order;  // the row's place in collection order
};

// The order of rows, as strcmp orders texts: std::string_view compares
// through char_traits<char>, which orders bytes as unsigned values ("R" <
// "RN", "U" < "r", ASCII < 0x80).
bool rowBefore(const PartsListEntry& a, const PartsListEntry& b) {
  if (const int c = a.prefix.compare(b.prefix); c != 0) return c < 0;
  if (a.number != b.number) return a.number < b.number;
  return a.name < b.name;
}

}  // namespace

std::string_view PartsListBuilder::keep(std::string_view text) {
  if (text.empty()) return {};
  char* const copy = static_cast<char*>(memory_.allocate(text.size(), 1));
  std::memcpy(copy, text.data(), text.size());
  return std::string_view(copy, text.size());
}

void PartsListBuilder::addRow(int number, std::string_view prefix, std::string_view name,
                              std::string_view note) {
  void* const row = memory_.allocate(sizeof(PartsListEntry), alignof(PartsListEntry));
  rows_.push_back(
      ::new (row) PartsListEntry{keep(prefix), number, keep(name), keep(note), inputs_});
}

void PartsListBuilder::build() {
  // The rows are sorted through compact keys; only keys that tie on a
  // text longer than eight bytes look at the texts. Rows equal in prefix,
  // number and name (they differ at most in their note) stay in the order
  // of the input files: the keys end in their collection order. That makes
  // the order total, so an unstable sort does, in place, where a stable
  // one would take a buffer of half the keys from the heap.
  std::pmr::vector<SortKey> keys(rows_.get_allocator());
  keys.reserve(rows_.size());
  for (const PartsListEntry* row : rows_) {
    keys.push_back(SortKey{leadingBytes(row->prefix), leadingBytes(row->name), row, row->number,
                           row->prefix.size() > 8 || row->name.size() > 8,
                           static_cast<std::uint32_t>(keys.size())});
  }
  std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.longText || b.longText) {
      if (rowBefore(*a.row, *b.row)) return true;
      if (rowBefore(*b.row, *a.row)) return false;
    } else if (a.number != b.number) {
      return a.number < b.number;
    } else if (a.name != b.name) {
      return a.name < b.name;
    }
    return a.order < b.order;
  });
  for (std::size_t i = 0; i < keys.size(); ++i) rows_[i] = keys[i].row;
  built_ = true;
}

int PartsListBuilder::write(std::FILE* out) const {
  if (!built_) return -1;
  CsvPartsList().write(rows_, out);
  return 0;
}

}  // namespace vesk
