// Fuzz target: the reader of earlier parts lists.
//
// The input is read as a list, whatever its bytes: a list that fails names
// a line of the input and keeps no parts; one that reads compares with an
// empty design as all removed. Then the input is taken as a design (each
// line a component: reference, name and note separated by tabs), its list
// is written in Shift-JIS in both kinds, read back and compared with the
// same design, which must show no change whatever the texts hold; the
// lists in UTF-8 are read back too, and must at least read. References
// are taken without CR: the lists leave CR out, so a reference X1<CR>5
// shows as X15, which the grouped list cannot tell from the prefix X.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "convert/csv_parts_list.h"
#include "convert/grouped_parts_list.h"
#include "convert/parts_changes.h"
#include "convert/parts_list_builder.h"
#include "convert/parts_list_reader.h"
#include "platform/code_page_932.h"
#include "schobj/sch_component.h"

namespace {

using namespace vesk;

void check(bool holds) {
  if (!holds) std::abort();
}

// The bytes `writer` writes for `rows`, with the byte order mark where
// the texts are UTF-8.
std::string written(const PartsListWriter& writer, const SortedPartsList& rows, bool utf8) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  if (out == nullptr) return {};
  if (utf8) std::fwrite(kUtf8ByteOrderMark.data(), 1, kUtf8ByteOrderMark.size(), out);
  writer.write(rows, out);
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

void readAnyBytes(std::string_view bytes, const Utf8ToShiftJis& toShiftJis) {
  const ListReading read = readPartsList(bytes, toShiftJis);
  if (read.problem.failed()) {
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                                std::count(bytes.begin(), bytes.end(), '\r'));
    check(read.problem.line >= 1 && static_cast<std::size_t>(read.problem.line) <= lines + 1);
    check(read.list.parts.empty());
    return;
  }
  const SortedPartsList none;
  const PartsChanges changes = compareParts(none, read.list);
  check(changes.counts.removed == read.list.parts.size() && changes.parts.size() ==
                                                                  read.list.parts.size());
}

void readBackADesign(std::string_view bytes, const Utf8ToShiftJis& toShiftJis) {
  PartsListBuilder builder;
  while (!bytes.empty()) {
    const std::string_view line = bytes.substr(0, bytes.find('\n'));
    bytes.remove_prefix(std::min(bytes.size(), line.size() + 1));
    std::string_view texts[3];
    std::string_view rest = line;
    for (std::string_view& text : texts) {
      text = rest.substr(0, rest.find('\t'));
      rest.remove_prefix(std::min(rest.size(), text.size() + 1));
    }
    std::string reference(texts[0]);
    std::erase(reference, '\r');
    SchComponent component;
    component.setReference(reference);
    component.setName(std::string(texts[1]));
    component.setNote(std::string(texts[2]));
    builder.collect(component);
  }
  builder.build();
  const SortedPartsList& rows = *builder.entries();
  static const ShiftJisToUtf8 utf8(makeCodePage932Decoder());
  for (const bool grouped : {false, true}) {
    for (const ShiftJisToUtf8* encoding : {static_cast<const ShiftJisToUtf8*>(nullptr), &utf8}) {
      const std::string list =
          grouped ? written(GroupedPartsList(encoding), rows, encoding != nullptr)
                  : written(CsvPartsList(encoding), rows, encoding != nullptr);
      const ListReading read = readPartsList(list, toShiftJis);
      check(!read.problem.failed());
      if (encoding == nullptr) check(compareParts(rows, read.list).parts.empty());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The system's converters, opened once for all inputs.
  static const Utf8ToShiftJis toShiftJis(makeCodePage932Encoder(), makeCodePage932Decoder());
  readAnyBytes(bytes, toShiftJis);
  readBackADesign(bytes, toShiftJis);
  return 0;
}
