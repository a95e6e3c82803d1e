#include "platform/mnemonic_text.h"

namespace vesk {

std::string gtkMnemonicText(std::string_view windowsText) {
  std::string text;
  text.reserve(windowsText.size() + 2);
  for (std::size_t i = 0; i < windowsText.size(); ++i) {
    const char c = windowsText[i];
    if (c == '_') {
      text += "__";
    } else if (c != '&') {
      text.push_back(c);
    } else if (i + 1 < windowsText.size()) {
      ++i;
      if (windowsText[i] == '&') {
        text.push_back('&');
      } else if (windowsText[i] == '_') {
        text += "__";  // GTK cannot mark an underscore; it stays plain
      } else {
        text.push_back('_');
        text.push_back(windowsText[i]);
      }
    }
  }
  return text;
}

}  // namespace vesk
