// CsvPartsList: the parts list as Vesk has always written it, one row per
// placed component.
//
// Each row is five fields and CR LF: the duplicate mark ("*" when the row
// repeats the reference and the name of the row before, "?" when it
// repeats the reference with another name, else nothing), the quoted
// reference prefix, the number, the quoted name and the quoted note. A
// quoted text doubles its double quotes and leaves out CR bytes, so that a
// CR LF inside a note reads as one line break; every other byte, Shift-JIS
// included, is written as it is. No header, no summary: an empty list is
// an empty file.
//
// Given a converter, the writer puts the texts in UTF-8 instead; the marks
// still compare the schematic's bytes. The byte order mark is the
// conversion run's to write.
#pragma once

#include "convert/parts_list_writer.h"

namespace vesk {

class ShiftJisToUtf8;

class CsvPartsList final : public PartsListWriter {
 public:
  // Texts unchanged, or in UTF-8 through `utf8`, which outlives the writer.
  explicit CsvPartsList(const ShiftJisToUtf8* utf8 = nullptr) : utf8_(utf8) {}

  void write(const SortedPartsList& rows, std::FILE* out) const override;

 private:
  const ShiftJisToUtf8* utf8_;
};

}  // namespace vesk
