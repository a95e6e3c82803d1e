// Fuzz target: a whole conversion of one or two documents into a parts list
// in memory. The input is split at the first "\n====\n" into two files;
// every document that reads is collected, and the list written, per
// component and grouped. A written list always holds exactly one CR LF per
// entry (CR never appears inside a quoted text), and the grouped list one
// for its header and one per part, at most one per entry; both are checked.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "convert/grouped_parts_list.h"
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
  // How many CR LF pairs the list that `write` writes holds.
  const auto rowsWritten = [](auto write) {
    std::rewind(out);
    write();
    std::fflush(out);
    const long written = std::ftell(out);
    std::rewind(out);
    std::string bytes(static_cast<std::size_t>(written), '\0');
    if (std::fread(bytes.data(), 1, bytes.size(), out) != bytes.size()) __builtin_trap();
    std::size_t rows = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) rows += bytes[i] == '\r' && bytes[i + 1] == '\n';
    return rows;
  };
  const std::size_t entries = builder.entries()->size();
  if (rowsWritten([&] {
        if (builder.write(out) != 0) __builtin_trap();
      }) != entries) {
    __builtin_trap();
  }
  const std::size_t grouped =
      rowsWritten([&] { vesk::GroupedPartsList().write(*builder.entries(), out); });
  if (grouped < 1 || grouped > entries + 1 || (entries > 0) != (grouped > 1)) __builtin_trap();
  return 0;
}
