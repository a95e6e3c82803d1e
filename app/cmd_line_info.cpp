#include "app/cmd_line_info.h"

namespace vesk {

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

bool CPartsListCmdLineInfo::ParseWholeArgument(std::string_view arg, bool slashStartsFlag) {
  Request request = Request::kRun;
  if (arg == "--help" || (slashStartsFlag && arg == "/?")) {
    request = Request::kHelp;
  } else if (arg == "--version") {
    request = Request::kVersion;
  } else {
    return false;
  }
  if (m_request == Request::kRun) m_request = request;
  return true;
}

}  // namespace vesk
