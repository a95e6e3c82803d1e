#include "convert/conversion.h"

#include <string>

#include "convert/changes_list.h"
#include "convert/csv_parts_list.h"
#include "convert/grouped_parts_list.h"
#include "convert/parts_list_builder.h"
#include "schfile/sch_document.h"

namespace vesk {

namespace {

// One warning line for each component with bytes that are no Shift-JIS,
// naming its input file, its reference and the texts concerned.
void warnOfUnconvertibleTexts(const SortedPartsList& rows, const ShiftJisToUtf8& utf8,
                              const char* const* paths) {
  std::string scratch;
  bool first = true;
  for (const PartsListEntry* entry : rows) {
    const auto holdsNonShiftJis = [&](std::string_view text) {
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
    std::fprintf(stderr, "%sWarning: %s: %.*s%d: bytes that are no Shift-JIS in the %s, "
                 "written as U+FFFD\n",
                 first ? "\n" : "", paths[entry->input], static_cast<int>(entry->prefix.size()),
                 entry->prefix.data(), entry->number,
                 kFields[which]);
    first = false;
  }
}

}  // namespace

int runConversion(int count, const char* const* paths, std::FILE* out) {
  return runConversion(count, paths, out, ConversionOptions());
}

int runConversion(int count, const char* const* paths, std::FILE* out,
                  const ConversionOptions& options, ConversionReport* report) {
  std::pmr::memory_resource* const memory =
      options.memory != nullptr ? options.memory : std::pmr::new_delete_resource();
  // The rows live for the whole run, the documents one after the other.
  PartsListBuilder builder(memory);
  for (int i = 0; i < count; ++i) {
    const char* path = paths != nullptr ? paths[i] : nullptr;
    SchDocument document(memory);
    // The rows are made as the components are read, and the objects are
    // needed no longer.
    document.onComponentKept([&builder](const SchComponent& component) {
      builder.collect(component);
    });
    document.setKeepsObjects(false);
    document.setPartDetails(PartDetails::kLeftOut);
    // The trace comes before the file is opened, so a file that fails has
    // one too. A missing path is a file that cannot be read.
    std::fprintf(stderr, "Read %s", path != nullptr ? path : "");
    if (document.load(path) != SchDocument::kLoaded) {
      if (report != nullptr) {
        report->failedInput = i;
        report->problem = document.problem();
      }
      return kConversionInputFailed;
    }
    builder.endInput();
  }
  builder.build();

  const SortedPartsList& rows = *builder.entries();
  if (report != nullptr) report->duplicates = summarizeDuplicates(rows);
  const ShiftJisToUtf8 converter(options.decoder);
  const ShiftJisToUtf8* utf8 = nullptr;
  if (options.format.encoding == ListEncoding::kUtf8) {
    utf8 = &converter;
    warnOfUnconvertibleTexts(rows, converter, paths);
    std::fwrite(kUtf8ByteOrderMark.data(), 1, kUtf8ByteOrderMark.size(), out);
  }
  if (options.changesSince != nullptr) {
    const PartsChanges changes = compareParts(rows, *options.changesSince);
    if (report != nullptr) report->changes = changes.counts;
    ChangesList(utf8).write(changes, out);
  } else if (options.format.layout == ListLayout::kGrouped) {
    GroupedPartsList(utf8).write(rows, out);
  } else {
    CsvPartsList(utf8).write(rows, out);
  }
  return kConversionOk;
}

}  // namespace vesk
