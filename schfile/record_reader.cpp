#include "schfile/record_reader.h"

#include <cerrno>
#include <cstring>

namespace vesk {

namespace {

bool isTerminator(int c) { return c == ',' || c == '\n' || c == '\r'; }
bool isLeadingSpace(int c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

int hexDigit(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isCSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The two characters after '%', converted as strtoul(text, nullptr, 16)
// converts them (leading white space, a sign, hex digits up to the first
// other character), keeping the low 8 bits. A "0x" prefix with no digit
// after it converts as the single digit 0.
unsigned char decodeEscape(int first, int second) {
  int h = hexDigit(first);
  if (h >= 0) {
    const int l = hexDigit(second);
    return static_cast<unsigned char>(l >= 0 ? h * 16 + l : h);
  }
  if (isCSpace(first)) {
    h = hexDigit(second);
    return static_cast<unsigned char>(h >= 0 ? h : 0);
  }
  if (first == '+' || first == '-') {
    h = hexDigit(second);
    if (h < 0) return 0;
    return static_cast<unsigned char>(first == '-' ? (256 - h) & 0xff : h);
  }
  return 0;
}

std::string_view viewOf(const unsigned char* begin, const unsigned char* end) {
  return std::string_view(reinterpret_cast<const char*>(begin),
                          static_cast<std::size_t>(end - begin));
}

}  // namespace

RecordReader::RecordReader(std::FILE* source)
    : file_(source), buffer_(new unsigned char[kBufferSize]) {
  pos_ = end_ = buffer_.get();
}

RecordReader::RecordReader(std::string_view memory)
    : pos_(reinterpret_cast<const unsigned char*>(memory.data())),
      end_(reinterpret_cast<const unsigned char*>(memory.data()) + memory.size()) {}

RecordReader::~RecordReader() = default;

bool RecordReader::refill() {
  const unsigned char* keep = end_;
  return refillKeeping(keep);
}

bool RecordReader::refillKeeping(const unsigned char*& keep) {
  if (file_ == nullptr || readError_) return false;
  unsigned char* base = buffer_.get();
  const auto kept = static_cast<std::size_t>(end_ - keep);
  const auto posOffset = pos_ - keep;
  if (kept > 0 && keep != base) std::memmove(base, keep, kept);
  errno = 0;
  const std::size_t got = std::fread(base + kept, 1, kBufferSize - kept, file_);
  keep = base;
  pos_ = base + posOffset;
  end_ = base + kept + got;
  if (got == 0) {
    if (std::ferror(file_)) {
      readError_ = true;
      readErrorNumber_ = errno;
    }
    return false;
  }
  return true;
}

int RecordReader::readField(std::string& field) {
  std::string_view view;
  const int line = readFieldView(view);
  field.assign(view);
  return line;
}

int RecordReader::readFieldSlowly(std::string_view& field) {
  field = std::string_view();
  escapeCutShort_ = false;
  for (;;) {
    if (pos_ == end_ && !refill()) return -1;
    const unsigned char c = *pos_;
    if (!isLeadingSpace(c)) break;
    if (c == '\n') countLine();
    ++pos_;
  }
  fieldLine_ = line_;
  const int fieldLine = line();
  const unsigned char* start = pos_;
  const unsigned char* scanned = start;
  for (;;) {
    const bool full = static_cast<std::size_t>(end_ - start) > kMaxFieldLength;
    const unsigned char* limit = full ? start + kMaxFieldLength : end_;
    const unsigned char* p = record_detail::findSpecial(scanned, limit);
    if (p == end_) {
      // The buffer ends inside the field: keep the field, read on.
      const auto scannedLength = p - start;
      if (refillKeeping(start)) {
        scanned = start + scannedLength;
        continue;
      }
      // A last field without a terminator ends with the input.
      field = viewOf(start, end_);
      pos_ = end_;
      return fieldLine;
    }
    if (p == start + kMaxFieldLength) {
      // A full field ends here; the byte after it is consumed and lost
      // (an LF still counts).
      if (*p == '\n') countLine();
      field = viewOf(start, p);
      pos_ = p + 1;
      return fieldLine;
    }
    if (*p == '%') {
      scratch_.assign(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p - start));
      pos_ = p + 1;
      const int result = decodeEscapedField(fieldLine);
      field = scratch_;
      return result;
    }
    if (*p == '\n') countLine();
    field = viewOf(start, p);
    pos_ = p + 1;
    return fieldLine;
  }
}

int RecordReader::decodeEscapedField(int fieldLine) {
  int c = '%';
  for (;;) {
    if (isTerminator(c)) {
      if (c == '\n') countLine();
      return fieldLine;
    }
    // A full field ends here; the byte just read is consumed and lost.
    if (scratch_.size() == kMaxFieldLength) return fieldLine;
    if (c == '%') {
      // A terminator in place of a digit cuts the escape short (and is
      // consumed; an LF so taken is not counted), and so does the end of
      // the input.
      const int first = nextByte();
      if (first < 0 || isTerminator(first)) return cutShort();
      const int second = nextByte();
      if (second < 0 || isTerminator(second)) return cutShort();
      scratch_.push_back(static_cast<char>(decodeEscape(first, second)));
    } else {
      scratch_.push_back(static_cast<char>(c));
      // Take the run of ordinary bytes that follows in one append.
      const std::size_t room = kMaxFieldLength - scratch_.size();
      const unsigned char* limit =
          static_cast<std::size_t>(end_ - pos_) < room ? end_ : pos_ + room;
      const unsigned char* run = record_detail::findSpecial(pos_, limit);
      scratch_.append(reinterpret_cast<const char*>(pos_), static_cast<std::size_t>(run - pos_));
      pos_ = run;
    }
    c = nextByte();
    // A last field without a terminator ends with the input.
    if (c < 0) return fieldLine;
  }
}

int RecordReader::skipTo(std::string_view text) {
  std::string_view field;
  while (readFieldView(field) != -1) {
    if (field == text) return 0;
  }
  return -1;
}

}  // namespace vesk
