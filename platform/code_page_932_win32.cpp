#include "platform/code_page_932.h"

#include <windows.h>

#include <climits>

namespace vesk {

CodePage932Decoder makeCodePage932Decoder() {
  return [](std::string_view characters, std::string& utf8) {
    if (characters.empty()) return true;
    if (characters.size() > INT_MAX) return false;
    const int length = static_cast<int>(characters.size());
    // At most one UTF-16 unit per byte.
    std::wstring wide(characters.size(), L'\0');
    // MB_ERR_INVALID_CHARS: an unassigned pair fails the call rather than
    // turning into the code page's default character.
    const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, characters.data(), length,
                                          wide.data(), length);
    if (units <= 0) return false;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr,
                                          nullptr);
    if (bytes <= 0) return false;
    const std::size_t start = utf8.size();
    utf8.resize(start + static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data() + start, bytes, nullptr,
                        nullptr);
    return true;
  };
}

CodePage932Encoder makeCodePage932Encoder() {
  return [](std::string_view characters, std::string& shiftJis) {
    if (characters.empty()) return true;
    if (characters.size() > INT_MAX) return false;
    const int length = static_cast<int>(characters.size());
    // At most one UTF-16 unit per byte.
    std::wstring wide(characters.size(), L'\0');
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, characters.data(),
                                          length, wide.data(), length);
    if (units <= 0) return false;
    // WC_NO_BEST_FIT_CHARS: a character without a form of its own in the
    // code page takes the default character, and says so, rather than a
    // look-alike.
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr,
                                          0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    const std::size_t start = shiftJis.size();
    shiftJis.resize(start + static_cast<std::size_t>(bytes));
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), units, shiftJis.data() + start,
                        bytes, nullptr, nullptr);
    return true;
  };
}

}  // namespace vesk
