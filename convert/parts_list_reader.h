// Reading back a parts list that Vesk wrote earlier, to compare it with
// the design as it is now (convert/parts_changes.h).
//
// Both kinds are read, in both encodings. The kind comes from the first
// row: the grouped list's header (convert/grouped_parts_list.h) begins a
// grouped list; anything else must be the first row of a per-component
// list (convert/csv_parts_list.h), whose empty form is an empty file. The
// encoding comes from the first bytes: the UTF-8 byte order mark, or
// Shift-JIS without it.
//
// What comes back is the list's parts: a part is a distinct reference
// prefix, name and note, as the grouped list counts them, with the numbers
// of its references. The texts come back in Shift-JIS, the design's
// encoding; a list in UTF-8 is turned back through the system's table
// (convert/utf8_to_shift_jis.h).
//
// The CSV is read as the lists write it, and as a spreadsheet may save it
// again: fields quoted or not, a doubled quote inside quotes for a quote,
// rows ended by CR LF or LF. A CR inside quotes is left out, as the lists
// leave it out of the texts they write; ranges of one or two references
// (R1-R2), which the lists do not write, are read too. A row that no list
// can hold fails the reading, with its line and why (ListProblem); nothing
// throws.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "convert/parts_list_format.h"
#include "convert/utf8_to_shift_jis.h"

namespace vesk {

struct ListedPart {
  // In Shift-JIS; from a list in UTF-8, '?' stands for each character that
  // code page 932 has no form for.
  std::string prefix;
  std::string name;
  std::string note;
  // The numbers of its references, ascending; a reference listed twice is
  // here twice.
  std::vector<int> numbers;
  // False when a text held such a character: then the part matches no part
  // of a design.
  bool comparable = true;
};

struct ListedParts {
  ListLayout layout = ListLayout::kPerComponent;
  ListEncoding encoding = ListEncoding::kShiftJis;
  std::vector<ListedPart> parts;  // in the order of their first rows
};

// Why a file could not be read as a parts list.
struct ListProblem {
  enum class Kind {
    kNone,
    kCannotOpen,         // the file cannot be opened: `systemError` holds errno
    kReadError,          // the system failed while reading: `systemError`
    kListOfChanges,      // the first row is the header of a list of changes
    kFieldCount,         // the row has `count` fields; a row of `layout` has 5
    kBadMark,            // `found` is no mark of a row of `layout`
    kBadNumber,          // the reference number `found` is no number
    kBadQuantity,        // the quantity `found` is no whole number from 1
    kBadReferences,      // the references `found` cannot be read
    kQuantityMismatch,   // the quantity `found` is not the `count` references listed
    kTooManyReferences,  // the list holds more than kMostListedReferences
    kStrayQuote,         // a quote in field `count` (`found`) that neither opens nor closes it
    kUnclosedQuote,      // the file ends inside the quoted field begun on `line`
  };

  Kind kind = Kind::kNone;
  int line = 0;  // the line the row begins on; 0 where none applies
  ListLayout layout = ListLayout::kPerComponent;
  std::size_t count = 0;
  std::string found;    // the field as found, cut short (kLongestFound bytes)
  int systemError = 0;  // errno of kCannotOpen and kReadError

  static constexpr std::size_t kLongestFound = 40;

  bool failed() const { return kind != Kind::kNone; }
};

// References a list may hold in all. A grouped list writes a range in a
// few bytes; this bounds the memory a list of a few bytes can claim
// (64 MiB of numbers), far beyond any design.
inline constexpr std::size_t kMostListedReferences = std::size_t{1} << 24;

// The list, or why it could not be read; the list is empty then.
struct ListReading {
  ListedParts list;
  ListProblem problem;
};

// Reads the list held in `bytes`; `toShiftJis` turns the texts of a list
// in UTF-8 back into Shift-JIS.
ListReading readPartsList(std::string_view bytes, const Utf8ToShiftJis& toShiftJis);
// Reads the list in the file at `path`.
ListReading readPartsListFile(const char* path, const Utf8ToShiftJis& toShiftJis);

}  // namespace vesk
