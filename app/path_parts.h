// PathParts: a path split into drive, directory, file name and extension.
//
// The drive is the first two bytes when the second is ':'; the directory
// runs up to and including the last '\' or '/'; the extension is the last
// '.' after it and what follows. The second byte of a double-byte
// character of the active code page is never taken for a separator or a
// dot (a Shift-JIS trail byte can be 0x5C, a backslash in ASCII), so the
// host that knows the code page is asked about lead bytes.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

class CUiHost;

struct PathParts {
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;

  static PathParts Split(std::string_view path, const CUiHost& host);
  // Drive, directory and name joined again with `extension`.
  std::string WithExtension(std::string_view newExtension) const;
};

// Byte-wise comparison that ignores the letter case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace vesk
