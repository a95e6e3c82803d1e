// Utf8ToShiftJis: the texts of a parts list written in UTF-8, turned back
// into Shift-JIS as code page 932 has it, the encoding of the design, so
// that they compare with the design's texts byte for byte.
//
// UTF-8 has these characters: a byte below 0x80 is ASCII; a lead byte
// 0xC2 to 0xF4 followed by one to three continuation bytes 0x80 to 0xBF is
// one character, unless it is written longer than it needs, stands for a
// UTF-16 surrogate or lies beyond U+10FFFF. Any other byte is no
// character.
//
// ASCII passes unchanged and never reaches the encoder, which is the
// operating system's (iconv, WideCharToMultiByte), handed in by whoever
// reads the list. A character has a code page 932 form only when that form
// reads back, through the decoder, as the same character: the systems'
// tables send some characters to a look-alike (iconv writes U+00A5, the
// yen sign, as 0x5C, the backslash), which must not pass for the design's
// character. Each character without a form, and each byte that is no
// character, becomes '?', and the caller learns how many there were: such
// a text can match no text of a design.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "convert/shift_jis_to_utf8.h"

namespace vesk {

class Utf8ToShiftJis {
 public:
  // Appends the code page 932 form of `characters` to `shiftJis` and
  // returns true; `characters` holds only whole non-ASCII characters of
  // UTF-8. Returns false, with `shiftJis` unchanged, when one of them has
  // no form in the code page.
  using Encoder = std::function<bool(std::string_view characters, std::string& shiftJis)>;

  Utf8ToShiftJis(Encoder encoder, ShiftJisToUtf8::Decoder decoder);

  // Appends `text` in Shift-JIS to `out`; returns how many '?' stand for a
  // character without a form or a byte that is no character (0 when the
  // whole text converted).
  std::size_t append(std::string_view text, std::string& out) const;

 private:
  // Whether `characters` (whole non-ASCII characters) have their own
  // forms, appended to `out` when they have.
  bool encodeExactly(std::string_view characters, std::string& out) const;

  Encoder encoder_;
  ShiftJisToUtf8 readBack_;
};

}  // namespace vesk
