// The operating system's table of code page 932 (Shift-JIS as Windows
// has it): double-byte characters into UTF-8, for the parts list written
// in UTF-8.
//
// iconv's "CP932" on glibc and MultiByteToWideChar on Windows hold the
// same table: JIS X 0208 with the NEC and IBM extensions, and the
// user-defined rows 0xF0 to 0xF9 as private-use characters. Which bytes
// form a character at all is the conversion core's to decide (it hands
// over whole characters only), so that both systems answer the same.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vesk {

// Appends the UTF-8 of `characters` (whole characters of code page 932) to
// `utf8` and returns true; false, with `utf8` unchanged, when the code page
// assigns nothing to one of them, or the system has no converter.
using CodePage932Decoder = std::function<bool(std::string_view characters, std::string& utf8)>;

// A decoder of its own for the caller; one thread at a time.
CodePage932Decoder makeCodePage932Decoder();

}  // namespace vesk
