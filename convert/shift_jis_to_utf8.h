// ShiftJisToUtf8: the texts of a schematic, Shift-JIS as code page 932
// has it, turned into UTF-8 for a parts list written in UTF-8.
//
// Code page 932 has three kinds of characters: a byte below 0x80 is ASCII;
// a byte from 0xA1 to 0xDF is a half-width katakana; a lead byte (0x81 to
// 0x9F, 0xE0 to 0xFC) followed by a trail byte (0x40 to 0x7E, 0x80 to 0xFC)
// is one double-byte character. Nothing else is a character: 0x80, 0xA0
// and 0xFD to 0xFF alone, a lead byte before anything but a trail byte, a
// lead byte at the end of the text (half a character). Each such byte
// becomes U+FFFD, and so does a pair of the right shape that the code page
// leaves unassigned.
//
// This class knows the shapes; the table of the thousands of double-byte
// characters is the operating system's (iconv, MultiByteToWideChar), handed
// in as a decoder by whoever runs the conversion. ASCII never reaches the
// decoder and passes unchanged (0x5C stays a backslash, 0x7E a tilde), so a
// text without any byte of 0x80 or above costs one copy.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace vesk {

class ShiftJisToUtf8 {
 public:
  // Appends the UTF-8 of `characters` to `utf8` and returns true;
  // `characters` holds only whole non-ASCII characters of code page 932
  // (single bytes 0xA1 to 0xDF and lead-trail pairs). Returns false, with
  // `utf8` unchanged, when the code page assigns nothing to one of them.
  using Decoder = std::function<bool(std::string_view characters, std::string& utf8)>;

  explicit ShiftJisToUtf8(Decoder decoder) : decoder_(std::move(decoder)) {}

  // Appends `text` in UTF-8 to `out`; returns how many U+FFFD stand for
  // bytes that are no character (0 when the whole text converted).
  std::size_t append(std::string_view text, std::string& out) const;

 private:
  Decoder decoder_;
};

// The byte order mark that begins a UTF-8 parts list: with it, spreadsheet
// programs take the file as UTF-8 without being told.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace vesk
