#include "schfile/record_reader.h"

#include <array>

namespace vesk {

namespace {

// Bytes that end an ordinary run inside a field: the three terminators and
// the escape introducer.
constexpr std::array<bool, 256> makeSpecialTable() {
  std::array<bool, 256> table{};
  table[static_cast<unsigned char>(',')] = true;
  table[static_cast<unsigned char>('\n')] = true;
  table[static_cast<unsigned char>('\r')] = true;
  table[static_cast<unsigned char>('%')] = true;
  return table;
}
constexpr std::array<bool, 256> kSpecial = makeSpecialTable();

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
  if (file_ == nullptr || readError_) return false;
  const std::size_t got = std::fread(buffer_.get(), 1, kBufferSize, file_);
  if (got == 0) {
    if (std::ferror(file_)) readError_ = true;
    return false;
  }
  pos_ = buffer_.get();
  end_ = pos_ + got;
  return true;
}

int RecordReader::readField(std::string& field) {
  field.clear();
  int c = nextByte();
  if (c < 0) return -1;
  while (isLeadingSpace(c)) {
    if (c == '\n') countLine();
    c = nextByte();
    if (c < 0) return -1;
  }
  const int fieldLine = line_;
  // Fast path: the whole field, up to its terminator, already stands in the
  // buffer and holds no escape. This is nearly every field of a real file.
  {
    const unsigned char* start = pos_ - 1;
    const unsigned char* run = pos_ - 1;
    const std::size_t available = static_cast<std::size_t>(end_ - run);
    const unsigned char* limit =
        available <= kMaxFieldLength ? end_ : run + kMaxFieldLength;
    while (run != limit && !kSpecial[*run]) ++run;
    if (run != end_ && *run != '%' && run != start + kMaxFieldLength) {
      field.assign(reinterpret_cast<const char*>(start), static_cast<std::size_t>(run - start));
      if (*run == '\n') countLine();
      pos_ = run + 1;
      return fieldLine;
    }
  }
  for (;;) {
    if (isTerminator(c)) {
      if (c == '\n') countLine();
      return fieldLine;
    }
    // A full field ends here; the byte just read is consumed and lost.
    if (field.size() == kMaxFieldLength) return fieldLine;
    if (c == '%') {
      const int first = nextByte();
      if (first < 0 || isTerminator(first)) return -1;
      const int second = nextByte();
      if (second < 0 || isTerminator(second)) return -1;
      field.push_back(static_cast<char>(decodeEscape(first, second)));
    } else {
      field.push_back(static_cast<char>(c));
      // Take the run of ordinary bytes that follows in one append.
      const unsigned char* run = pos_;
      std::size_t room = kMaxFieldLength - field.size();
      const unsigned char* limit =
          static_cast<std::size_t>(end_ - run) < room ? end_ : run + room;
      while (run != limit && !kSpecial[*run]) ++run;
      field.append(reinterpret_cast<const char*>(pos_), static_cast<std::size_t>(run - pos_));
      pos_ = run;
    }
    c = nextByte();
    // A last field without a terminator ends with the input.
    if (c < 0) return fieldLine;
  }
}

int RecordReader::skipTo(std::string_view text) {
  std::string field;
  while (readField(field) != -1) {
    if (field == text) return 0;
  }
  return -1;
}

}  // namespace vesk
