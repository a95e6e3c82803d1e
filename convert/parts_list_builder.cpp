#include "convert/parts_list_builder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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
    : chunks_(memory), rows_(memory) {}
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

// Rows are packed into chunks of this size (a longer row gets a chunk of
// its own size).
constexpr std::size_t kChunk = 64 * 1024;

// A length in groups of seven bits, low group first, bit 7 set while more
// groups follow: one byte for the texts of nearly every row.
void putLength(std::pmr::string& packed, std::size_t length) {
  while (length >= 0x80) {
    packed.push_back(static_cast<char>((length & 0x7f) | 0x80));
    length >>= 7;
  }
  packed.push_back(static_cast<char>(length));
}

std::string_view takeText(const char*& p) {
  std::size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*p++);
    length |= static_cast<std::size_t>(byte & 0x7f) << shift;
    if ((byte & 0x80) == 0) break;
  }
  const std::string_view text(p, length);
  p += length;
  return text;
}

struct PackedRow {
  int number;
  std::uint32_t input;
  std::string_view prefix;
  std::string_view name;
  std::string_view note;
};

PackedRow unpack(const char* p) {
  PackedRow row;
  std::memcpy(&row.number, p, sizeof row.number);
  p += sizeof row.number;
  std::memcpy(&row.input, p, sizeof row.input);
  p += sizeof row.input;
  row.prefix = takeText(p);
  row.name = takeText(p);
  row.note = takeText(p);
  return row;
}

// What a row is sorted by: the first eight bytes of prefix and name as
// big-endian numbers (zero-padded, so that they order as strcmp orders:
// the texts hold no zero byte) and the number; the packed row itself for
// the keys that tie on a text longer than eight bytes.
struct SortKey {
  std::uint64_t prefix;
  std::uint64_t name;
  const char* row;
  int number;
  bool longText;
};

// The order of rows, as strcmp orders texts: std::string_view compares
// through char_traits<char>, which orders bytes as unsigned values ("R" <
// "RN", "U" < "r", ASCII < 0x80).
bool rowBefore(const PackedRow& a, const PackedRow& b) {
  if (const int c = a.prefix.compare(b.prefix); c != 0) return c < 0;
  if (a.number != b.number) return a.number < b.number;
  return a.name < b.name;
}

}  // namespace

void PartsListBuilder::addRow(int number, std::string_view prefix, std::string_view name,
                              std::string_view note) {
  const std::size_t most =
      sizeof number + sizeof inputs_ + 3 * 10 + prefix.size() + name.size() + note.size();
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < most) {
    chunks_.emplace_back().reserve(std::max(kChunk, most));
  }
  std::pmr::string& packed = chunks_.back();
  packed.append(reinterpret_cast<const char*>(&number), sizeof number);
  packed.append(reinterpret_cast<const char*>(&inputs_), sizeof inputs_);
  for (const std::string_view text : {prefix, name, note}) {
    putLength(packed, text.size());
    packed.append(text);
  }
  ++collected_;
}

void PartsListBuilder::build() {
  // The rows are sorted through compact keys; only keys that tie on a
  // text longer than eight bytes look at the texts. The sort is stable,
  // so rows equal in prefix, number and name (they differ at most in
  // their note) stay in the order of the input files. A merge sort also
  // suits the input: within one prefix, references mostly come in
  // ascending order already, as annotation numbers them.
  std::pmr::vector<SortKey> keys(rows_.get_allocator());
  keys.reserve(collected_);
  for (const std::pmr::string& chunk : chunks_) {
    for (const char* p = chunk.data(); p != chunk.data() + chunk.size();) {
      const char* const start = p;
      const PackedRow row = unpack(p);
      p = row.note.data() + row.note.size();
      keys.push_back(SortKey{leadingBytes(row.prefix), leadingBytes(row.name), start, row.number,
                             row.prefix.size() > 8 || row.name.size() > 8});
    }
  }
  std::stable_sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.longText || b.longText) return rowBefore(unpack(a.row), unpack(b.row));
    if (a.number != b.number) return a.number < b.number;
    return a.name < b.name;
  });
  // The entries, in parts-list order, viewing the packed texts.
  rows_.reserve(keys.size());
  SortedPartsList sorted(rows_.get_allocator());
  sorted.reserve(keys.size());
  for (const SortKey& key : keys) {
    const PackedRow row = unpack(key.row);
    sorted.push_back(
        &rows_.emplace_back(PartsListEntry{row.prefix, row.number, row.name, row.note, row.input}));
  }
  sorted_ = std::move(sorted);
}

int PartsListBuilder::write(std::FILE* out) const {
  if (!sorted_) return -1;
  CsvPartsList().write(*sorted_, out);
  return 0;
}

}  // namespace vesk
