// What the CSV writers of the parts list share: the quoting of a text
// field, the output buffer the rows are put together in, and how a writer
// takes its texts in the output's encoding.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "convert/shift_jis_to_utf8.h"

namespace vesk::csv {

// Writes a quoted CSV field at `out` and returns its end: quotes doubled,
// CR left out (so that a CR LF in a note reads as one line break), every
// other byte unchanged. Needs room for 2 + 2 * text.size() bytes.
inline char* putQuoted(char* out, std::string_view text) {
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

// The longest number printed: "-2147483648".
inline constexpr std::size_t kLongestNumber = 11;

// The most bytes a row of the lists can take: the mark, four commas, three
// quoted texts, the number and CR LF.
inline std::size_t mostRowBytes(std::string_view first, std::string_view name,
                                std::string_view note) {
  constexpr std::size_t kFixed = 1 + 4 + 3 * 2 + kLongestNumber + 2;
  return kFixed + 2 * (first.size() + name.size() + note.size());
}

// Writes a row of the lists at `out` and returns its end: the mark (none
// when 0), then `first` quoted, the number, the name and the note quoted,
// and CR LF. Needs room for mostRowBytes.
inline char* putRow(char* out, char mark, std::string_view first, int number,
                    std::string_view name, std::string_view note) {
  if (mark != 0) *out++ = mark;
  *out++ = ',';
  out = putQuoted(out, first);
  *out++ = ',';
  out = std::to_chars(out, out + kLongestNumber, number).ptr;
  *out++ = ',';
  out = putQuoted(out, name);
  *out++ = ',';
  out = putQuoted(out, note);
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

// Rows go out in chunks of about this size rather than byte by byte.
inline constexpr std::size_t kWriteChunk = 1 << 16;

// The rows are put together in one buffer, written out in chunks. The
// buffer is not cleared first: every byte written out was put there.
class ChunkedOutput {
 public:
  explicit ChunkedOutput(std::FILE* out)
      : out_(out), buffer_(std::make_unique_for_overwrite<char[]>(kWriteChunk)) {}
  ChunkedOutput(const ChunkedOutput&) = delete;
  ChunkedOutput& operator=(const ChunkedOutput&) = delete;
  ~ChunkedOutput() { flush(); }

  // Room for at least `bytes` at the returned place; commit() then says
  // how far it was filled.
  char* room(std::size_t bytes) {
    if (size_ - used_ < bytes) {
      flush();
      if (size_ < bytes) {
        buffer_ = std::make_unique_for_overwrite<char[]>(bytes);
        size_ = bytes;
      }
    }
    return buffer_.get() + used_;
  }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

 private:
  void flush() {
    if (used_ != 0) std::fwrite(buffer_.get(), 1, used_, out_);
    used_ = 0;
  }

  std::FILE* out_;
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = kWriteChunk;
  std::size_t used_ = 0;
};

// A text in the output's encoding, given a scratch string it may fill:
// the schematic's bytes as they are (Shift-JIS) ...
struct UnchangedTexts {
  std::string_view operator()(std::string_view text, std::string&) const { return text; }
};

// ... or converted to UTF-8. Bytes that are no Shift-JIS become U+FFFD
// here without a word; the conversion run tells of them (convert/conversion.h).
class Utf8Texts {
 public:
  explicit Utf8Texts(const ShiftJisToUtf8& converter) : converter_(converter) {}
  std::string_view operator()(std::string_view text, std::string& scratch) const {
    scratch.clear();
    converter_.append(text, scratch);
    return scratch;
  }

 private:
  const ShiftJisToUtf8& converter_;
};

// Calls `write` with the texts in the output's encoding: in UTF-8 through
// `utf8`, or unchanged when there is none. The one place a writer's
// encoding is chosen; each encoding gets its own instance of `write`.
template <class Write>
void withTexts(const ShiftJisToUtf8* utf8, Write write) {
  if (utf8 != nullptr) {
    write(Utf8Texts(*utf8));
  } else {
    write(UnchangedTexts());
  }
}

}  // namespace vesk::csv
