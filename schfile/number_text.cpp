#include "schfile/number_text.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace vesk {

int parseNumberInGeneral(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  // atoi's leading white space and sign; from_chars takes neither.
  while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '+' || *p == '-')) ++p;
  std::uint32_t magnitude = 0;
  const auto [stop, error] = std::from_chars(p, end, magnitude);
  static_cast<void>(stop);
  constexpr std::uint32_t kLargest = std::numeric_limits<int>::max();
  if (error == std::errc::result_out_of_range) magnitude = kLargest + 1;
  // Beyond the 32-bit range the value clamps to the nearest limit.
  if (negative) return magnitude > kLargest ? std::numeric_limits<int>::min() : -static_cast<int>(magnitude);
  return magnitude > kLargest ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

}  // namespace vesk
