#include "convert/changes_list.h"

#include <charconv>
#include <cstdint>
#include <iterator>
#include <string>

#include "convert/csv_output.h"
#include "convert/list_headers.h"
#include "convert/reference_counts.h"

namespace vesk {

namespace {

using csv::putQuoted;

// What changed, in Shift-JIS: 追加 (added), 削除 (removed), 変更 (changed).
std::string_view kindText(PartChange::Kind kind) {
  switch (kind) {
    case PartChange::Kind::kAdded: return "\x92\xc7\x89\xc1";
    case PartChange::Kind::kRemoved: return "\x8d\xed\x8f\x9c";
    case PartChange::Kind::kChanged: break;
  }
  return "\x95\xcf\x8d\x58";
}

// The longest number written: a sign and the digits of a 64-bit value.
constexpr std::size_t kLongestCount = 21;

char* putCount(char* out, std::int64_t count, bool withSign) {
  if (withSign && count > 0) *out++ = '+';
  return std::to_chars(out, out + kLongestCount, count).ptr;
}

template <class Texts>
void writeChanges(const PartsChanges& changes, std::FILE* out, const Texts& texts) {
  csv::ChunkedOutput output(out);
  std::string scratch, kindScratch, nameScratch, noteScratch, added, removed;

  for (std::size_t column = 0; column < std::size(kChangesListHeader); ++column) {
    const std::string_view text = texts(kChangesListHeader[column], scratch);
    char* p = output.room(1 + 2 + 2 * text.size());
    if (column != 0) *p++ = ',';
    output.commit(putQuoted(p, text));
  }
  char* p = output.room(2);
  *p++ = '\r';
  *p++ = '\n';
  output.commit(p);

  for (const PartChange& change : changes.parts) {
    const std::string_view prefix = texts(change.prefix, scratch);
    added.clear();
    appendReferenceRuns(added, prefix, change.added);
    removed.clear();
    appendReferenceRuns(removed, prefix, change.removed);
    const std::string_view kind = texts(kindText(change.kind), kindScratch);
    const std::string_view name = texts(change.name, nameScratch);
    const std::string_view note = texts(change.note, noteScratch);
    const auto before = static_cast<std::int64_t>(change.before);
    const auto now = static_cast<std::int64_t>(change.now);

    // Seven commas, five quoted texts, three numbers and CR LF.
    p = output.room(7 + 5 * 2 + 3 * kLongestCount + 2 +
                    2 * (kind.size() + name.size() + note.size() + added.size() + removed.size()));
    p = putQuoted(p, kind);
    *p++ = ',';
    p = putQuoted(p, name);
    *p++ = ',';
    p = putQuoted(p, note);
    *p++ = ',';
    p = putCount(p, before, false);
    *p++ = ',';
    p = putCount(p, now, false);
    *p++ = ',';
    p = putCount(p, now - before, true);
    *p++ = ',';
    p = putQuoted(p, added);
    *p++ = ',';
    p = putQuoted(p, removed);
    *p++ = '\r';
    *p++ = '\n';
    output.commit(p);
  }
}

}  // namespace

void ChangesList::write(const PartsChanges& changes, std::FILE* out) const {
  csv::withTexts(utf8_, [&](const auto& texts) { writeChanges(changes, out, texts); });
}

}  // namespace vesk
