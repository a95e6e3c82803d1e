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

bool setChangesSince(CPartsListCmdLineInfo& info, std::string_view list) {
  if (list.empty()) return false;
  info.m_changesSince = list;
  return true;
}

bool ask(CPartsListCmdLineInfo& info, CPartsListCmdLineInfo::Request request) {
  // The first request given counts.
  if (info.m_request == CPartsListCmdLineInfo::Request::kRun) info.m_request = request;
  return true;
}

bool askForHelp(CPartsListCmdLineInfo& info, std::string_view) {
  return ask(info, CPartsListCmdLineInfo::Request::kHelp);
}

bool askForVersion(CPartsListCmdLineInfo& info, std::string_view) {
  return ask(info, CPartsListCmdLineInfo::Request::kVersion);
}

// The arguments read whole. A name ending in '=' takes the rest of the
// argument as its value; `apply` returns false for a value it does not
// know. A new one is one more line here.
struct WholeArgument {
  std::string_view name;
  bool (*apply)(CPartsListCmdLineInfo& info, std::string_view value);
};

constexpr WholeArgument kWholeArguments[] = {
    {"--help", askForHelp},
    {"--version", askForVersion},
    {"--grouped", setGrouped},
    {"--encoding=", setEncoding},
    {"--changes-since=", setChangesSince},
};

}  // namespace

bool CPartsListCmdLineInfo::ParseWholeArgument(std::string_view arg, bool slashStartsFlag) {
  if (slashStartsFlag && arg == "/?") return askForHelp(*this, {});
  for (const WholeArgument& whole : kWholeArguments) {
    const bool takesValue = whole.name.back() == '=';
    if (takesValue ? !arg.starts_with(whole.name) : arg != whole.name) continue;
    if (!whole.apply(*this, arg.substr(whole.name.size()))) m_badOption = arg;
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
