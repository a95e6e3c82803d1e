#include "convert/shift_jis_to_utf8.h"

namespace vesk {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
bool isTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}
bool isKatakanaByte(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }

// The length of the character at `at`: 1 or 2, or 0 when the byte there
// begins no character.
std::size_t characterLength(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80 || isKatakanaByte(byte)) return 1;
  if (isLeadByte(byte) && at + 1 < text.size() &&
      isTrailByte(static_cast<unsigned char>(text[at + 1]))) {
    return 2;
  }
  return 0;
}

}  // namespace

std::size_t ShiftJisToUtf8::append(std::string_view text, std::string& out) const {
  std::size_t replaced = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    // ASCII as it is.
    std::size_t end = at;
    while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
    out.append(text, at, end - at);
    at = end;
    // Then the whole non-ASCII characters up to the next ASCII byte or the
    // next byte that begins none, in one call of the decoder.
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) {
      const std::size_t length = characterLength(text, end);
      if (length == 0) break;
      end += length;
    }
    if (end > at) {
      const std::string_view characters = text.substr(at, end - at);
      if (!decoder_(characters, out)) replaced += appendEach(characters, out);
      at = end;
    } else if (at < text.size()) {
      out.append(kReplacement);
      ++replaced;
      ++at;
    }
  }
  return replaced;
}

std::size_t ShiftJisToUtf8::appendEach(std::string_view characters, std::string& out) const {
  std::size_t replaced = 0;
  for (std::size_t at = 0; at < characters.size();) {
    const std::size_t length = characterLength(characters, at);
    if (!decoder_(characters.substr(at, length), out)) {
      out.append(kReplacement);
      ++replaced;
    }
    at += length;
  }
  return replaced;
}

}  // namespace vesk
