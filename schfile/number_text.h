// Conversions between field texts and numbers.
//
// Key values are read the way the C library's atoi reads them (leading
// white space, an optional sign, decimal digits up to the first other
// character, 0 when there are none), except that a value beyond the 32-bit
// range clamps to the nearest limit instead of being undefined.
#pragma once

#include <string_view>

namespace vesk {

int parseNumber(std::string_view text);

}  // namespace vesk
