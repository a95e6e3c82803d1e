// PartsListFormat: what the parts-list file looks like, as the user chose
// it: the layout of its rows and the encoding of its texts.
//
// The default is the list Vesk has always written: one row per placed
// component, texts in Shift-JIS as the schematic holds them.
#pragma once

namespace vesk {

enum class ListLayout {
  kPerComponent,  // convert/csv_parts_list.h
  kGrouped,       // convert/grouped_parts_list.h
};

enum class ListEncoding {
  kShiftJis,  // the schematic's bytes, unchanged
  kUtf8,      // converted (convert/shift_jis_to_utf8.h), after a byte order mark
};

struct PartsListFormat {
  ListLayout layout = ListLayout::kPerComponent;
  ListEncoding encoding = ListEncoding::kShiftJis;

  bool operator==(const PartsListFormat&) const = default;
};

}  // namespace vesk
