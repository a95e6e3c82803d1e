#include "convert/shift_jis_to_utf8.h"

#include "convert/character_runs.h"

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
  return convertCharacters(text, out, characterLength, decoder_, kReplacement);
}

}  // namespace vesk
