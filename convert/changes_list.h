// ChangesList: the file of the changes between a parts list written
// earlier and the design now (convert/parts_changes.h), in the lists'
// conventions.
//
// It begins with a header row,
// "変更","部品名","備考","前","今","増減","加わった部品番号","なくなった部品番号";
// then each changed part is one row of eight fields and CR LF:
//
//   - what changed, quoted: 追加 (added: the earlier list had no such
//     part), 削除 (removed: the design has none now) or 変更 (changed: its
//     references are others);
//   - the name and the note, quoted;
//   - the quantities before and now, and their difference with its sign:
//     +2, -1, 0 when references only moved;
//   - the references added and those removed, quoted, as the grouped list
//     writes references (R1-R4, R6, a repeat listed twice).
//
// So the rows with a positive difference are the parts to order. Quoting
// as in the lists (convert/csv_output.h): double quotes doubled, CR left
// out. The texts, the header's included, are Shift-JIS, or UTF-8 through
// a converter; the byte order mark is the conversion run's to write. An
// unchanged design gives the header alone.
#pragma once

#include <cstdio>

#include "convert/parts_changes.h"

namespace vesk {

class ShiftJisToUtf8;

class ChangesList {
 public:
  // Texts unchanged, or in UTF-8 through `utf8`, which outlives the writer.
  explicit ChangesList(const ShiftJisToUtf8* utf8 = nullptr) : utf8_(utf8) {}

  // Writes the header and a row for each of `changes`, in their order, to
  // `out` (opened in binary mode); neither flushes nor closes it.
  void write(const PartsChanges& changes, std::FILE* out) const;

 private:
  const ShiftJisToUtf8* utf8_;
};

}  // namespace vesk
