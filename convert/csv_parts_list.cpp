#include "convert/csv_parts_list.h"

#include <charconv>
#include <string>
#include <string_view>

#include "convert/csv_output.h"

namespace vesk {

namespace {

using csv::kLongestNumber;
using csv::putQuoted;

// The most bytes a row can take: the mark, four commas, three quoted
// texts, the number and CR LF.
std::size_t mostRowBytes(std::string_view prefix, std::string_view name, std::string_view note) {
  constexpr std::size_t kFixed = 1 + 4 + 3 * 2 + kLongestNumber + 2;
  return kFixed + 2 * (prefix.size() + name.size() + note.size());
}

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
    char* p = output.room(mostRowBytes(prefix, name, note));
    // A row repeating the reference of the row before is marked: "*" for
    // the same name (a duplicate), "?" for another name (a conflict).
    if (previous != nullptr && entry.prefix == previous->prefix &&
        entry.number == previous->number) {
      *p++ = entry.name == previous->name ? '*' : '?';
    }
    *p++ = ',';
    p = putQuoted(p, prefix);
    *p++ = ',';
    p = std::to_chars(p, p + kLongestNumber, entry.number).ptr;
    *p++ = ',';
    p = putQuoted(p, name);
    *p++ = ',';
    p = putQuoted(p, note);
    *p++ = '\r';
    *p++ = '\n';
    output.commit(p);
    previous = &entry;
  }
}

}  // namespace

void CsvPartsList::write(const SortedPartsList& sorted, std::FILE* out) const {
  csv::withTexts(utf8_, [&](const auto& texts) { writeRows(sorted, out, texts); });
}

}  // namespace vesk
