// RecordReader: the field tokenizer of the schematic text format.
//
// A schematic file is a stream of fields separated by commas or line ends;
// white space before a field is skipped, "%XX" escapes stand for one byte,
// and a field holds at most 32,768 bytes. The reader hands out one decoded
// field per call and counts lines as it consumes LF bytes. It knows nothing
// of blocks or keys: the document and every object reader pull fields from
// one shared RecordReader.
//
// The reader does not own its source. It reads a FILE* through a buffer of
// its own (the same bytes, in the same order, as one getc per byte, without
// the per-byte locking), or a block of memory that the caller keeps alive.
// A read error of the stream is remembered (hadReadError) so that callers
// can tell a failing disk or a directory from a clean end of input.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace vesk {

class RecordReader {
 public:
  static constexpr std::size_t kMaxFieldLength = 32768;

  explicit RecordReader(std::FILE* source);
  explicit RecordReader(std::string_view memory);
  // The reader only views its memory; a temporary string would be gone
  // before the first field is read.
  explicit RecordReader(std::string&&) = delete;
  ~RecordReader();

  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  // Reads the next field into `field` (its old content is replaced).
  // Returns the line on which the field's first byte stands, or -1 when no
  // field begins before the end of input, or when an escape is cut short by
  // a terminator.
  int readField(std::string& field);

  // Reads fields until one equals `text` exactly. 0 when found (the reader
  // stands just after it), -1 when the input ended first.
  int skipTo(std::string_view text);

  // The current line: 1 at the start, one more for each LF consumed.
  int line() const { return line_; }

  // True when the underlying stream reported an error (not merely its end).
  bool hadReadError() const { return readError_; }

 private:
  // Returns the next byte (0..255) or -1 at the end of input.
  int nextByte() {
    if (pos_ == end_ && !refill()) return -1;
    return *pos_++;
  }
  bool refill();
  void countLine() {
    if (line_ < kMaxLine) ++line_;
  }

  static constexpr int kMaxLine = 0x7fffffff;
  static constexpr std::size_t kBufferSize = 1 << 16;

  std::FILE* file_ = nullptr;
  std::unique_ptr<unsigned char[]> buffer_;
  const unsigned char* pos_ = nullptr;
  const unsigned char* end_ = nullptr;
  int line_ = 1;
  bool readError_ = false;
};

}  // namespace vesk
