#include "convert/csv_parts_list.h"

#include <charconv>
#include <string>
#include <string_view>

namespace vesk {

namespace {

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

void CsvPartsList::write(const SortedPartsList& sorted, std::FILE* out) const {
  ChunkedOutput output(out);
  const PartsListEntry* previous = nullptr;
  for (const PartsListEntry* row : sorted) {
    const PartsListEntry& entry = *row;
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
}

}  // namespace vesk
