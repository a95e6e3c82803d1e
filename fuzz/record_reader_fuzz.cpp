// Fuzz target: the record reader on arbitrary bytes, checked against a
// plain one-byte-at-a-time reading of the same field syntax. The buffered
// reader's bulk scanning must give exactly the same fields and lines. The
// first input byte picks between reading fields and skipping to an end tag.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "schfile/record_reader.h"

namespace {

// The field syntax written out byte by byte, as simply as it can be said.
class PlainReader {
 public:
  explicit PlainReader(std::string_view bytes) : bytes_(bytes) {}

  int readField(std::string& field) {
    field.clear();
    int c = get();
    if (c < 0) return -1;
    while (c == '\t' || c == '\n' || c == '\r' || c == ' ') {
      if (c == '\n') ++line_;
      c = get();
      if (c < 0) return -1;
    }
    const int fieldLine = line_;
    for (;;) {
      if (c == ',' || c == '\n' || c == '\r') {
        if (c == '\n') ++line_;
        return fieldLine;
      }
      if (field.size() == vesk::RecordReader::kMaxFieldLength) return fieldLine;
      if (c == '%') {
        char digits[3] = {0, 0, 0};
        for (int i = 0; i < 2; ++i) {
          const int d = get();
          if (d < 0 || d == ',' || d == '\n' || d == '\r') return -1;
          digits[i] = static_cast<char>(d);
        }
        c = static_cast<int>(std::strtoul(digits, nullptr, 16) & 0xff);
      }
      field.push_back(static_cast<char>(c));
      c = get();
      if (c < 0) return fieldLine;
    }
  }

 private:
  int get() { return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_++]) : -1; }
  std::string_view bytes_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  vesk::RecordReader reader(bytes);
  if (data[0] & 1) {
    // Skip to the end tag of the first field, then read the rest.
    std::string first;
    if (reader.readField(first) == -1) return 0;
    if (!first.empty()) first[0] = '-';
    (void)reader.skipTo(first);
    std::string field;
    while (reader.readField(field) != -1) {
    }
    return 0;
  }
  PlainReader plain(bytes);
  std::string field;
  std::string expected;
  for (;;) {
    const int line = reader.readField(field);
    const int expectedLine = plain.readField(expected);
    if (line != expectedLine || field != expected) __builtin_trap();
    if (line == -1) break;
  }
  return 0;
}
