#include "convert/csv_parts_list.h"

#include <string>
#include <string_view>

#include "convert/csv_output.h"

namespace vesk {

namespace {

// The rows with their texts as `texts` gives them (csv::UnchangedTexts,
// csv::Utf8Texts): one loop for both encodings, with nothing added for the
// unchanged bytes.
template <class Texts>
void writeRows(const SortedPartsList& sorted, std::FILE* out, const Texts& texts) {
  csv::ChunkedOutput output(out);
  std::string prefixScratch, nameScratch, noteScratch;
  const PartsListEntry* previous = nullptr;
  for (const PartsListEntry* row : sorted) {
    const PartsListEntry& entry = *row;
    const std::string_view prefix = texts(entry.prefix, prefixScratch);
    const std::string_view name = texts(entry.name, nameScratch);
    const std::string_view note = texts(entry.note, noteScratch);
    // A row repeating the reference of the row before is marked: "*" for
    // the same name (a duplicate), "?" for another name (a conflict).
    char mark = 0;
    if (previous != nullptr && entry.prefix == previous->prefix &&
        entry.number == previous->number) {
      mark = entry.name == previous->name ? '*' : '?';
    }
    char* const p = output.room(csv::mostRowBytes(prefix, name, note));
    output.commit(csv::putRow(p, mark, prefix, entry.number, name, note));
    previous = &entry;
  }
}

}  // namespace

void CsvPartsList::write(const SortedPartsList& sorted, std::FILE* out) const {
  csv::withTexts(utf8_, [&](const auto& texts) { writeRows(sorted, out, texts); });
}

}  // namespace vesk
