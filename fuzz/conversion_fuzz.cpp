// Fuzz target: a whole conversion of one or two documents into a parts list
// in memory. The input is split at the first "\n====\n" into two files;
// every document that reads is collected, and the list written. A written
// list always holds exactly one CR LF per entry (CR never appears inside a
// quoted text), which is checked.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "convert/parts_list_builder.h"
#include "schfile/sch_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kSplit = "\n====\n";
  std::vector<std::string_view> files;
  const std::size_t cut = input.find(kSplit);
  if (cut == std::string_view::npos) {
    files.push_back(input);
  } else {
    files.push_back(input.substr(0, cut));
    files.push_back(input.substr(cut + kSplit.size()));
  }

  vesk::PartsListBuilder builder;
  for (const std::string_view file : files) {
    vesk::SchDocument document;
    if (document.readMemory(file) == 0) builder.collect(document.objects());
  }
  builder.build();

  static std::FILE* out = std::tmpfile();
  if (out == nullptr) return 0;
  std::rewind(out);
  if (builder.write(out) != 0) __builtin_trap();
  std::fflush(out);
  const long written = std::ftell(out);
  std::rewind(out);
  std::string bytes(static_cast<std::size_t>(written), '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), out) != bytes.size()) __builtin_trap();
  std::size_t rows = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) rows += bytes[i] == '\r' && bytes[i + 1] == '\n';
  if (rows != builder.entries()->size()) __builtin_trap();
  return 0;
}
