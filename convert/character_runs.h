// convertCharacters: the walk that both conversions between Shift-JIS and
// UTF-8 take over a text.
//
// ASCII passes as it is. Every run of other whole characters up to the
// next ASCII byte, as `length` finds them, goes to `convert` in one call,
// so that a text costs few calls of the system's converter; where that
// call fails, the run goes again character by character, so that only the
// characters without a form become `stand`. A byte that begins no
// character becomes `stand` as well. Returns how many `stand` were written.
//
// `length(text, at)`: the length of the character at `at` (a byte of 0x80
// or more), 0 when none begins there. `convert(characters, out)`: appends
// the converted characters and returns true, or returns false with `out`
// unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

template <class Length, class Convert>
std::size_t convertCharacters(std::string_view text, std::string& out, const Length& length,
                              const Convert& convert, std::string_view stand) {
  const auto isAscii = [&](std::size_t at) { return static_cast<unsigned char>(text[at]) < 0x80; };
  std::size_t stood = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && isAscii(end)) ++end;
    out.append(text, at, end - at);
    at = end;
    while (end < text.size() && !isAscii(end)) {
      const std::size_t characterLength = length(text, end);
      if (characterLength == 0) break;
      end += characterLength;
    }
    if (end > at) {
      const std::string_view characters = text.substr(at, end - at);
      if (!convert(characters, out)) {
        for (std::size_t c = 0; c < characters.size();) {
          const std::size_t characterLength = length(characters, c);
          if (!convert(characters.substr(c, characterLength), out)) {
            out.append(stand);
            ++stood;
          }
          c += characterLength;
        }
      }
      at = end;
    } else if (at < text.size()) {
      out.append(stand);
      ++stood;
      ++at;
    }
  }
  return stood;
}

}  // namespace vesk
