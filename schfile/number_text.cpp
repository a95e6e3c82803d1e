#include "schfile/number_text.h"

#include <cstdint>
#include <limits>

namespace vesk {

namespace {

bool isCSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int parseNumber(std::string_view text) {
  // Nearly every value is a few plain digits: at most nine cannot leave
  // the int32 range.
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
  std::size_t i = 0;
  while (i < text.size() && isCSpace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate the magnitude, saturating just past the int32 range so that
  // any number of digits is safe.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

}  // namespace vesk
