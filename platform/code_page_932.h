// The operating system's table of code page 932 (Shift-JIS as Windows
// has it): double-byte characters into UTF-8, for the parts list written
// in UTF-8, and back, for a list in UTF-8 compared with a design.
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

// Appends the code page 932 form of `characters` (whole UTF-8 characters,
// none of them ASCII) to `shiftJis` and returns true; false, with
// `shiftJis` unchanged, when one of them has no form in the code page, or
// the system has no converter. The systems map some characters to a
// look-alike (iconv turns U+00A5 into 0x5C); whoever needs an exact form
// reads the result back through the decoder (convert/utf8_to_shift_jis.h).
using CodePage932Encoder = std::function<bool(std::string_view characters, std::string& shiftJis)>;

// An encoder of its own for the caller; one thread at a time.
CodePage932Encoder makeCodePage932Encoder();

}  // namespace vesk
