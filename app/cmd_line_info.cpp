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

}  // namespace vesk
