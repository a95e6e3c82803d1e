// File-type filters of the open-file dialog in the toolkit's terms.
//
// The shell hands the dialog its filters in the Windows form: description
// and pattern texts in pairs, each ended by a zero byte, the list ended by
// an empty text; one pattern text may hold several patterns separated by
// ';' ("*.CE3;*.CE2"). Windows matches them without regard to letter case.
// Toolkits such as GTK match glob patterns case-sensitively, so each
// pattern is rewritten with a bracket pair for every letter ("*.CE3"
// becomes "*.[cC][eE]3"), and the glob specials that Windows treats as
// plain characters ('[', ']', '\') are escaped with '\' so that they stay
// plain. "*.*", every file on Windows, is "*".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

struct FileFilter {
  std::string description;
  std::vector<std::string> patterns;  // case-insensitive globs
};

// The glob that matches what `windowsPattern` matches on Windows.
std::string caseInsensitiveGlob(std::string_view windowsPattern);

// The filters of a zero-separated filter list; a pair cut short by the end
// of the list is dropped.
std::vector<FileFilter> fileFiltersFromPairs(std::string_view pairs);

}  // namespace vesk
