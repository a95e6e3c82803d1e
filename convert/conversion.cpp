#include "convert/conversion.h"

#include <string>

#include "convert/csv_parts_list.h"
#include "convert/grouped_parts_list.h"
#include "convert/parts_list_builder.h"
#include "schfile/sch_document.h"

namespace vesk {

namespace {

// Reads the inputs one after the other into `builder` and builds the list.
int collectInputs(PartsListBuilder& builder, int count, const char* const* paths) {
  for (int i = 0; i < count; ++i) {
    const char* path = paths != nullptr ? paths[i] : nullptr;
    // One document at a time, released by its destructor on every path.
    SchDocument document;
    // The trace comes before the file is opened, so a file that fails has
    // one too. A missing path is a file that cannot be read.
    std::fprintf(stderr, "Read %s", path != nullptr ? path : "");
    if (document.load(path) != SchDocument::kLoaded) return kConversionInputFailed;
    builder.collect(document.objects());
  }
  builder.build();
  return kConversionOk;
}

// One warning line for each component with bytes that are no Shift-JIS,
// naming its input file, its reference and the texts concerned.
void warnOfUnconvertibleTexts(const SortedPartsList& rows, const ShiftJisToUtf8& utf8,
                              const char* const* paths) {
  std::string scratch;
  bool first = true;
  for (const PartsListEntry* entry : rows) {
    const auto holdsNonShiftJis = [&](const std::string& text) {
      scratch.clear();
      return utf8.append(text, scratch) != 0;
    };
    // The texts concerned as three bits: reference, name, note.
    const int which = (holdsNonShiftJis(entry->prefix) ? 4 : 0) |
                      (holdsNonShiftJis(entry->name) ? 2 : 0) |
                      (holdsNonShiftJis(entry->note) ? 1 : 0);
    if (which == 0) continue;
    static constexpr const char* kFields[8] = {
        "",          "note",               "name",               "name and note",
        "reference", "reference and note", "reference and name", "reference, name and note",
    };
    // The traces have no line end: the first warning begins a line of its own.
    std::fprintf(stderr, "%sWarning: %s: %s%d: bytes that are no Shift-JIS in the %s, "
                 "written as U+FFFD\n",
                 first ? "\n" : "", paths[entry->input], entry->prefix.c_str(), entry->number,
                 kFields[which]);
    first = false;
  }
}

}  // namespace

int runConversion(int count, const char* const* paths, std::FILE* out) {
  return runConversion(count, paths, out, CsvPartsList());
}

int runConversion(int count, const char* const* paths, std::FILE* out,
                  const PartsListWriter& format) {
  PartsListBuilder builder;
  if (const int result = collectInputs(builder, count, paths); result != kConversionOk) {
    return result;
  }
  format.write(*builder.entries(), out);
  return kConversionOk;
}

int runConversion(int count, const char* const* paths, std::FILE* out,
                  const PartsListFormat& format, const ShiftJisToUtf8::Decoder& decoder) {
  PartsListBuilder builder;
  if (const int result = collectInputs(builder, count, paths); result != kConversionOk) {
    return result;
  }
  const SortedPartsList& rows = *builder.entries();
  const ShiftJisToUtf8 converter(decoder);
  const ShiftJisToUtf8* utf8 = nullptr;
  if (format.encoding == ListEncoding::kUtf8) {
    utf8 = &converter;
    warnOfUnconvertibleTexts(rows, converter, paths);
    std::fwrite(kUtf8ByteOrderMark.data(), 1, kUtf8ByteOrderMark.size(), out);
  }
  if (format.layout == ListLayout::kGrouped) {
    GroupedPartsList(utf8).write(rows, out);
  } else {
    CsvPartsList(utf8).write(rows, out);
  }
  return kConversionOk;
}

}  // namespace vesk
