// GroupedPartsList: the parts list to order parts from, one row per
// distinct part rather than per placed component.
//
// Components of the same reference prefix, name and note are one part.
// Its row stands where the first of its components stands in the sorted
// per-component list (by prefix, then the lowest number). The file begins
// with a header row, "重複","部品番号","数量","部品名","備考"; then each
// row is five fields and CR LF:
//
//   - the mark: "*" when a reference of the row occurs more than once in
//     the whole design, in this row or in another one; else nothing;
//   - the references, quoted: prefix and number (R07 is R7, U1A is U1A0,
//     as the per-component list splits them), in ascending number,
//     separated by ", ". A run of three or more numbers each one above the
//     one before is written as its first and last reference joined by "-"
//     (R1-R4); a run of two stays two (R1, R2). A reference carried by two
//     components of the row is listed twice, and the repeat begins a new
//     run: 1, 1, 2, 3 is "R1, R1-R3";
//   - the quantity: how many components, repeats included;
//   - the name and the note, quoted.
//
// Quoting as in the per-component list (convert/csv_parts_list.h): double
// quotes doubled, CR left out. The texts, the header's included, are the
// schematic's Shift-JIS bytes, or UTF-8 through a converter; the byte
// order mark is the conversion run's to write.
#pragma once

#include "convert/parts_list_writer.h"

namespace vesk {

class ShiftJisToUtf8;

class GroupedPartsList final : public PartsListWriter {
 public:
  // Texts unchanged, or in UTF-8 through `utf8`, which outlives the writer.
  explicit GroupedPartsList(const ShiftJisToUtf8* utf8 = nullptr) : utf8_(utf8) {}

  void write(const SortedPartsList& rows, std::FILE* out) const override;

 private:
  const ShiftJisToUtf8* utf8_;
};

}  // namespace vesk
