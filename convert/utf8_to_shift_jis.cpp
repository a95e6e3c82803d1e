#include "convert/utf8_to_shift_jis.h"

#include <utility>

#include "convert/character_runs.h"

namespace vesk {

namespace {

constexpr std::string_view kNoForm = "?";

bool isContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// The length of the UTF-8 character at `at` (at least 0x80): 2 to 4, or 0
// when the bytes there begin no character. The second byte's range is
// what rules out the long forms, the surrogates and what lies beyond
// U+10FFFF.
std::size_t characterLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!isContinuation(byte(i))) return 0;
  }
  return length;
}

}  // namespace

Utf8ToShiftJis::Utf8ToShiftJis(Encoder encoder, ShiftJisToUtf8::Decoder decoder)
    : encoder_(std::move(encoder)), readBack_(std::move(decoder)) {}

std::size_t Utf8ToShiftJis::append(std::string_view text, std::string& out) const {
  return convertCharacters(
      text, out, characterLength,
      [this](std::string_view characters, std::string& shiftJis) {
        return encodeExactly(characters, shiftJis);
      },
      kNoForm);
}

bool Utf8ToShiftJis::encodeExactly(std::string_view characters, std::string& out) const {
  std::string shiftJis;
  if (!encoder_(characters, shiftJis)) return false;
  std::string again;
  if (readBack_.append(shiftJis, again) != 0 || again != characters) return false;
  out += shiftJis;
  return true;
}

}  // namespace vesk
