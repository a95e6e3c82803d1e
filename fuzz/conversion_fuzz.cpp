// Fuzz target: a whole conversion of one or two documents into a parts list
// in memory. The input is split at the first "\n====\n" into two files,
// read as the conversion reads them (each component collected as it is
// read, the objects not kept, the parts' pins and bitmaps left out); the
// components of a document that fails are collected too, where the
// conversion would stop. The list is then written, per component and
// grouped. A written list always holds exactly one CR LF per entry (CR
// never appears inside a quoted text), and the grouped list one for its
// header and one per part, at most one per entry; both are checked.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "convert/grouped_parts_list.h"
#include "convert/parts_list_builder.h"
#include "schfile/sch_document.h"
#include "schobj/sch_component.h"

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
    document.onComponentKept([&builder](const vesk::SchComponent& component) {
      builder.collect(component);
    });
    document.setKeepsObjects(false);
    document.setPartDetails(vesk::PartDetails::kLeftOut);
    (void)document.readMemory(file);
    builder.endInput();
  }
  builder.build();

  // How many CR LF pairs the list that `write` writes to a stream holds.
  const auto rowsWritten = [](auto write) {
    char* bytes = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&bytes, &size);
    if (out == nullptr) __builtin_trap();
    write(out);
    if (std::fclose(out) != 0) __builtin_trap();
    std::size_t rows = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) rows += bytes[i] == '\r' && bytes[i + 1] == '\n';
    std::free(bytes);
    return rows;
  };
  const std::size_t entries = builder.entries()->size();
  if (rowsWritten([&](std::FILE* out) {
        if (builder.write(out) != 0) __builtin_trap();
      }) != entries) {
    __builtin_trap();
  }
  const std::size_t grouped = rowsWritten(
      [&](std::FILE* out) { vesk::GroupedPartsList().write(*builder.entries(), out); });
  if (grouped < 1 || grouped > entries + 1 || (entries > 0) != (grouped > 1)) __builtin_trap();
  return 0;
}
