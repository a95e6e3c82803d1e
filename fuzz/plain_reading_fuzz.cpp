// Fuzz target: white space before a field changes nothing. The input is
// read as it stands and once more with a space after every comma and line
// end, which the field reader skips as white space before the next field
// and which keeps the bitmap rows from being taken where they stand in the
// reader's buffer. Both documents are written out and must match byte for
// byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "schfile/record_writer.h"
#include "schfile/sch_document.h"
#include "schobj/sch_object.h"

namespace {

std::string written(const vesk::SchDocument& document) {
  std::string text;
  vesk::RecordWriter writer(text);
  for (const auto& object : document.objects()) object->writeBlock(writer, nullptr);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string spaced;
  spaced.reserve(2 * size);
  for (const char c : input) {
    spaced.push_back(c);
    if (c == ',' || c == '\n') spaced.push_back(' ');
  }
  vesk::SchDocument plain;
  vesk::SchDocument general;
  const int plainResult = plain.readMemory(input);
  const int generalResult = general.readMemory(spaced);
  if (plainResult != generalResult) __builtin_trap();
  if (written(plain) != written(general)) __builtin_trap();
  return 0;
}
