#include "platform/dialog_units.h"

#include <climits>
#include <cstdint>

namespace vesk {

int mulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  std::int64_t numerator = product;
  if (divisor < 0) {
    divisor = -divisor;
    numerator = -numerator;
  }
  // Round half away from zero: add half the divisor to the magnitude.
  const std::int64_t half = divisor / 2;
  const std::int64_t quotient =
      numerator >= 0 ? (numerator + half) / divisor : -((-numerator + half) / divisor);
  if (quotient > INT_MAX || quotient < INT_MIN) return -1;
  return static_cast<int>(quotient);
}

DialogBaseUnits baseUnitsFromFont(int alphabetExtent, int charHeight) {
  return DialogBaseUnits{(alphabetExtent / 26 + 1) / 2, charHeight};
}

HostRect dialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits base) {
  const int left = mulDiv(x, base.x, 4);
  const int top = mulDiv(y, base.y, 8);
  return HostRect{left, top, left + mulDiv(width, base.x, 4), top + mulDiv(height, base.y, 8)};
}

}  // namespace vesk
