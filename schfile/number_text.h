// Conversions between field texts and numbers.
//
// Key values are read the way the C library's atoi reads them (leading
// white space, an optional sign, decimal digits up to the first other
// character, 0 when there are none), except that a value beyond the 32-bit
// range clamps to the nearest limit instead of being undefined.
#pragma once

#include <string_view>

namespace vesk {

// The general way: white space, sign, any number of digits.
int parseNumberInGeneral(std::string_view text);

inline int parseNumber(std::string_view text) {
  // Nearly every value is a few plain digits, and at most nine cannot
  // leave the int32 range: such a value is read here, inline, in a seventh
  // of the general way's instructions.
  if (!text.empty() && text.size() <= 9) {
    int value = 0;
    std::size_t digits = 0;
    for (; digits < text.size(); ++digits) {
      const unsigned d = static_cast<unsigned char>(text[digits]) - unsigned{'0'};
      if (d > 9) break;
      value = value * 10 + static_cast<int>(d);
    }
    if (digits == text.size()) return value;
  }
  return parseNumberInGeneral(text);
}

}  // namespace vesk
