// Fuzz target: reading a whole schematic document from arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "schfile/sch_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vesk::SchDocument document;
  const int result = document.readMemory(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result < 0 || result > 2) __builtin_trap();
  return 0;
}
