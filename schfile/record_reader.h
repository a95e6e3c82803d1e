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
// can tell a failing disk or a directory from a clean end of input, and so
// is an escape cut short, which ends a read like the end of the input.
//
// The reader also holds the record of why its file failed (ReadProblem):
// the block readers, which all read through it, record the first failure
// there and keep their plain bool results; the document hands it on.
//
// Speed: nearly every field of a real file is a short run of plain bytes.
// readFieldView finds its end eight bytes at a time and hands out a view of
// the bytes where they stand (in the buffer or the caller's memory); only a
// field with an escape is decoded into a scratch string of the reader. A
// field that runs into the end of the buffer is moved to the buffer's start
// before the buffer is filled again, so that it stays in one piece.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "schfile/read_problem.h"

namespace vesk {

namespace record_detail {
// A table that is true for the given bytes.
constexpr std::array<bool, 256> byteTable(std::string_view bytes) {
  std::array<bool, 256> table{};
  for (const char c : bytes) table[static_cast<unsigned char>(c)] = true;
  return table;
}

// Bytes that end an ordinary run inside a field: the three terminators
// and the escape introducer.
inline constexpr std::array<bool, 256> kSpecial = byteTable(",\n\r%");

// The first special byte in [p, limit), or limit. Eight bytes at a time,
// a word that holds no byte below '-' (every special byte is below it,
// the bytes of keys, numbers, bitmap rows and double-byte text nearly
// never) is passed over whole; in a word that does, the first such byte
// is looked up, and the scan goes on after it when it is an ordinary
// byte ('+', a space, ...).
inline const unsigned char* findSpecial(const unsigned char* p, const unsigned char* limit) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  constexpr std::uint64_t kBound = 0x2d * kOnes;  // '-'
  while (limit - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    // The high bit of a byte is set for every byte below the bound (and,
    // past the first one, possibly for later bytes too: the borrow runs
    // towards the more significant end). Bytes 0x80 and above are never
    // flagged.
    const std::uint64_t low = (word - kBound) & ~word & kHighBits;
    if (low == 0) {
      p += 8;
      continue;
    }
    const int bit = std::endian::native == std::endian::little ? std::countr_zero(low)
                                                               : std::countl_zero(low);
    p += bit / 8;
    if (kSpecial[*p]) return p;
    ++p;
  }
  while (p != limit && !kSpecial[*p]) ++p;
  return p;
}

}  // namespace record_detail

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
  // a terminator (`field` then holds the bytes decoded before the escape).
  int readField(std::string& field);

  // The same, without a copy: `field` views the decoded bytes, which stay
  // valid until the next call of any reading operation of this reader.
  int readFieldView(std::string_view& field) {
    // The common case inline: the field starts at once and is plain.
    // Everything else takes the long way.
    const unsigned char* start = fieldStart();
    if (start != end_ && !kLeadingSpace[*start]) {
      if (const unsigned char* p = plainFieldEnd(start, start)) {
        field = std::string_view(reinterpret_cast<const char*>(start),
                                 static_cast<std::size_t>(p - start));
        endFieldAt(p);
        return clampedLine(fieldLine_);
      }
    }
    return readFieldSlowly(field);
  }

  // The fast path of a key field that the caller expects next, in two
  // steps. nextFieldHasKey: whether the next field begins with `key` and a
  // colon, straight in the buffer (nothing is consumed but the LF of a CR
  // LF line end). readKeyValue, right after it said so: when that field is
  // plain, reads it and sets `value` to what follows the colon; else
  // false, and the field is left for readFieldView.
  bool nextFieldHasKey(std::string_view key) {
    const unsigned char* start = fieldStart();
    return static_cast<std::size_t>(end_ - start) > key.size() + 1 &&
           std::string_view(reinterpret_cast<const char*>(start), key.size()) == key &&
           start[key.size()] == ':';
  }
  bool readKeyValue(std::size_t keyLength, std::string_view& value) {
    const unsigned char* const valueStart = pos_ + keyLength + 1;
    const unsigned char* p = plainFieldEnd(pos_, valueStart);
    if (p == nullptr) return false;
    value = std::string_view(reinterpret_cast<const char*>(valueStart),
                             static_cast<std::size_t>(p - valueStart));
    endFieldAt(p);
    return true;
  }

  // Reads fields until one equals `text` exactly. 0 when found (the reader
  // stands just after it), -1 when the input ended first. `text` must not
  // view a field of this reader (reading on overwrites it).
  int skipTo(std::string_view text);

  // The current line: 1 at the start, one more for each LF consumed.
  int line() const { return clampedLine(line_); }

  // The line of the field read last (of its first byte); 0 before any.
  int lastFieldLine() const { return clampedLine(fieldLine_); }

  // True when the underlying stream reported an error (not merely its end),
  // and the system's error number then (errno), where it gave one.
  bool hadReadError() const { return readError_; }
  int readErrorNumber() const { return readErrorNumber_; }
  // True when the last read returned -1 for an escape cut short by a
  // field's end rather than for the end of the input.
  bool escapeCutShort() const { return escapeCutShort_; }

  // Records why the file failed, unless an earlier failure is recorded
  // already (the first one is the one to tell); returns false, so that a
  // block reader can `return reader.fail(...)`.
  bool fail(ReadProblem problem) {
    if (!problem_.failed()) problem_ = std::move(problem);
    return false;
  }
  // Forgets a recorded failure that the enclosing block got over (a
  // pattern that a library section drops and reads on without).
  void forgetProblem() { problem_ = ReadProblem(); }
  const ReadProblem& problem() const { return problem_; }

  // The bytes already read from the source and not yet consumed, for a
  // reader that takes a run of fields from them at once (the bitmap rows).
  // A field may run on past their end.
  const unsigned char* bufferedBegin() const { return pos_; }
  const unsigned char* bufferedEnd() const { return end_; }
  // Consumes the first `bytes` of them, which hold `lineEnds` LF bytes.
  void consumeBuffered(std::size_t bytes, std::uint64_t lineEnds) {
    pos_ += bytes;
    line_ += lineEnds;
  }


 private:
  // The white space skipped before a field.
  static constexpr std::array<bool, 256> kLeadingSpace = record_detail::byteTable("\t\n\r ");

  int readFieldSlowly(std::string_view& field);

  // Where the next field starts when nothing but the LF of a CR LF line
  // end (whose CR ended the field before) stands before it: the LF is
  // consumed and counted.
  const unsigned char* fieldStart() {
    if (pos_ != end_ && *pos_ == '\n') {
      ++pos_;
      countLine();
    }
    return pos_;
  }
  // The terminator of a plain field that begins at `start`, its bytes
  // from `scanFrom` on still to be looked at: a comma or line end in the
  // buffer, with no escape before it and not over-long. Null for any
  // other field.
  const unsigned char* plainFieldEnd(const unsigned char* start,
                                     const unsigned char* scanFrom) const {
    const unsigned char* p = record_detail::findSpecial(scanFrom, end_);
    if (p == end_ || *p == '%' || static_cast<std::size_t>(p - start) >= kMaxFieldLength) {
      return nullptr;
    }
    return p;
  }
  // Consumes the field that ends at terminator `p`. Its line is kept as
  // counted and clamped only when asked for: a caller that only tests a
  // read for -1 pays nothing for it.
  void endFieldAt(const unsigned char* p) {
    fieldLine_ = line_;
    countLineAt(*p);
    pos_ = p + 1;
  }
  // Returns the next byte (0..255) or -1 at the end of input.
  int nextByte() {
    if (pos_ == end_ && !refill()) return -1;
    return *pos_++;
  }
  bool refill();
  // Moves the unread bytes from `keep` on to the buffer's start and reads
  // more after them; `keep`, pos_ and end_ follow the move. False when the
  // source gave nothing more.
  bool refillKeeping(const unsigned char*& keep);
  // The rest of a field from the escape at pos_ - 1 on, decoded byte by
  // byte into scratch_ (which holds the field's bytes before the escape).
  int decodeEscapedField(int fieldLine);
  int cutShort() {
    escapeCutShort_ = true;
    return -1;
  }
  void countLine() { ++line_; }
  // countLine when `terminator` is an LF, without a branch: line ends fall
  // among the commas with no pattern that a branch would learn.
  void countLineAt(unsigned char terminator) { line_ += terminator == '\n'; }

  static constexpr int kMaxLine = 0x7fffffff;
  static int clampedLine(std::uint64_t line) {
    return line < static_cast<std::uint64_t>(kMaxLine) ? static_cast<int>(line) : kMaxLine;
  }
  // Larger than the longest field, so that a field moved to the start of
  // the buffer always leaves room to read more.
  static constexpr std::size_t kBufferSize = 1 << 17;
  static_assert(kBufferSize >= 2 * kMaxFieldLength);

  std::FILE* file_ = nullptr;
  std::unique_ptr<unsigned char[]> buffer_;
  const unsigned char* pos_ = nullptr;
  const unsigned char* end_ = nullptr;
  // Counted in 64 bits, which no input can run over, and told clamped to
  // the largest int (line()).
  std::uint64_t line_ = 1;
  std::uint64_t fieldLine_ = 0;
  bool readError_ = false;
  int readErrorNumber_ = 0;
  bool escapeCutShort_ = false;
  std::string scratch_;
  ReadProblem problem_;
};

}  // namespace vesk
