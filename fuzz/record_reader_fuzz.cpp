// Fuzz target: the record reader on arbitrary bytes. The first byte picks
// between reading fields and skipping to an end tag taken from the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "schfile/record_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  vesk::RecordReader reader(bytes);
  std::string field;
  int previousLine = 1;
  if (data[0] & 1) {
    // Skip to the first field's text, then read the rest.
    if (reader.readField(field) == -1) return 0;
    std::string target = field;
    if (!target.empty()) target[0] = '-';
    (void)reader.skipTo(target);
  }
  for (int line; (line = reader.readField(field)) != -1;) {
    if (line < previousLine || field.size() > vesk::RecordReader::kMaxFieldLength) __builtin_trap();
    previousLine = line;
  }
  return 0;
}
