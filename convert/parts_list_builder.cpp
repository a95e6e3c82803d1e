#include "convert/parts_list_builder.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

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

// Writes a quoted CSV field at `out` and returns its end: quotes doubled,
// CR left out (so that a CR LF in a note reads as one line break), every
// other byte unchanged. Needs room for 2 + 2 * text.size() bytes.
char* putQuoted(char* out, std::string_view text) {
  *out++ = '"';
  // Byte by byte: the texts are a few bytes, shorter than a call of
  // memcpy would pay off for.
  for (const char c : text) {
    if (c == '\r') continue;
    if (c == '"') *out++ = '"';
    *out++ = c;
  }
  *out++ = '"';
  return out;
}

// Rows go out in chunks of about this size rather than byte by byte.
constexpr std::size_t kWriteChunk = 1 << 16;

// A hint to the processor that `address` will be read soon; nothing on
// compilers without one.
inline void prefetchForRead(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address);
#else
  static_cast<void>(address);
#endif
}

// How many rows ahead the writer asks for a row.
constexpr std::size_t kRowsAhead = 8;

// The rows are put together in one buffer, written out in chunks.
class ChunkedOutput {
 public:
  explicit ChunkedOutput(std::FILE* out) : out_(out), buffer_(kWriteChunk, '\0') {}
  ChunkedOutput(const ChunkedOutput&) = delete;
  ChunkedOutput& operator=(const ChunkedOutput&) = delete;
  ~ChunkedOutput() { flush(); }

  // Room for at least `bytes` at the returned place; commit() then says
  // how far it was filled.
  char* room(std::size_t bytes) {
    if (buffer_.size() - used_ < bytes) {
      flush();
      if (buffer_.size() < bytes) buffer_.resize(bytes);
    }
    return buffer_.data() + used_;
  }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

 private:
  void flush() {
    if (used_ != 0) std::fwrite(buffer_.data(), 1, used_, out_);
    used_ = 0;
  }

  std::FILE* out_;
  std::string buffer_;
  std::size_t used_ = 0;
};

// The longest number printed: "-2147483648".
constexpr std::size_t kLongestNumber = 11;

// The most bytes a row can take: the mark, four commas, three quoted
// texts, the number and CR LF.
std::size_t mostRowBytes(const PartsListEntry& entry) {
  constexpr std::size_t kFixed = 1 + 4 + 3 * 2 + kLongestNumber + 2;
  return kFixed + 2 * (entry.prefix.size() + entry.name.size() + entry.note.size());
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
    addRowFor(*components_.emplace_back(arena_.make<SchComponent>(*component)));
  }
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

void PartsListBuilder::addRowFor(const SchComponent& copy) {
  const RowKeys row = rowKeysOf(copy);
  keys_.push_back(SortKey{leadingBytes(row.reference.prefix), leadingBytes(row.name),
                          row.reference.number, static_cast<std::uint32_t>(keys_.size()),
                          row.reference.prefix.size() > 8 || row.name.size() > 8});
  if (rowChunks_.empty() || rowChunks_.back().size() == kRowsPerChunk) {
    rowChunks_.emplace_back().reserve(kRowsPerChunk);
  }
  rowChunks_.back().push_back(PartsListEntry{std::string(row.reference.prefix),
                                             row.reference.number, std::string(row.name),
                                             std::string(upToZero(copy.note()))});
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
  ChunkedOutput output(out);
  const PartsListEntry* previous = nullptr;
  const SortedPartsList& sorted = *sorted_;
  for (std::size_t k = 0; k < sorted.size(); ++k) {
    // The rows lie in collection order, scattered over megabytes when
    // taken in sorted order: the row a few places on is asked for early,
    // so that its loads overlap with the writing of this one.
    if (k + kRowsAhead < sorted.size()) prefetchForRead(sorted[k + kRowsAhead]);
    const PartsListEntry& entry = *sorted[k];
    char* p = output.room(mostRowBytes(entry));
    // A row repeating the reference of the row before is marked: "*" for
    // the same name (a duplicate), "?" for another name (a conflict).
    if (previous != nullptr && entry.prefix == previous->prefix &&
        entry.number == previous->number) {
      *p++ = entry.name == previous->name ? '*' : '?';
    }
    *p++ = ',';
    p = putQuoted(p, entry.prefix);
    *p++ = ',';
    p = std::to_chars(p, p + kLongestNumber, entry.number).ptr;
    *p++ = ',';
    p = putQuoted(p, entry.name);
    *p++ = ',';
    p = putQuoted(p, entry.note);
    *p++ = '\r';
    *p++ = '\n';
    output.commit(p);
    previous = &entry;
  }
  return 0;
}

}  // namespace vesk
