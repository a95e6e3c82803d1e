#include "app/cmd_line_info.h"

#include <cctype>

namespace vesk {

namespace {

// Whether `text` is `name` in any letter case (charset names are).
bool equalsIgnoringCase(std::string_view text, std::string_view name) {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(name[i]))) {
      return false;
    }
  }
  return true;
}

bool setGrouped(CPartsListCmdLineInfo& info, std::string_view) {
  info.m_format.layout = ListLayout::kGrouped;
  return true;
}

bool setEncoding(CPartsListCmdLineInfo& info, std::string_view value) {
  if (equalsIgnoringCase(value, "utf-8")) {
    info.m_format.encoding = ListEncoding::kUtf8;
  } else if (equalsIgnoringCase(value, "shift_jis")) {
    info.m_format.encoding = ListEncoding::kShiftJis;
  } else {
    return false;
  }
  return true;
}

// The long options, each a whole argument. A name ending in '=' takes the
// rest of the argument as its value; `apply` returns false for a value it
// does not know. A new option is one more line here.
struct LongOption {
  std::string_view name;
  bool (*apply)(CPartsListCmdLineInfo& info, std::string_view value);
};

constexpr LongOption kLongOptions[] = {
    {"--grouped", setGrouped},
    {"--encoding=", setEncoding},
};

}  // namespace

bool CPartsListCmdLineInfo::ParseLongOption(std::string_view argument) {
  for (const LongOption& option : kLongOptions) {
    const bool takesValue = option.name.back() == '=';
    if (takesValue ? !argument.starts_with(option.name) : argument != option.name) continue;
    if (!option.apply(*this, argument.substr(option.name.size()))) {
      m_badOption = argument;
    }
    return true;
  }
  return false;
}

void CPartsListCmdLineInfo::ParseParam(const char* text, bool isFlag, bool) {
  if (text == nullptr) return;
  if (isFlag) {
    m_mode = text[0];
    if (m_mode == 'F') {
      m_bAutoRun = true;
      m_mode = 's';
    }
    return;
  }
  if (text[0] == '\0') return;
  if (m_mode == 'o') {
    m_outputPath = text;
    m_mode = 's';
  } else if (m_mode == 's') {
    m_inputPaths.emplace_back(text);
  } else {
    m_mode = 's';
  }
}

}  // namespace vesk
