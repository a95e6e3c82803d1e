// CPartsListCmdLineInfo: what the command line asks of the program.
//
// Filled once at start-up, one ParseParam call per argument, and only read
// afterwards by the main dialog. Plain arguments are input paths; "-o"
// makes the next plain argument the output path, "-F" asks for one
// conversion without interaction, "-s" returns to input paths, and any
// other flag letter makes the next plain argument be dropped. Only the
// first letter of a flag counts, and its case matters.
#pragma once

#include <string>
#include <vector>

namespace vesk {

class CPartsListCmdLineInfo {
 public:
  // `text` without its '-' (or '/') when `isFlag`; `isLast` is not needed.
  void ParseParam(const char* text, bool isFlag, bool isLast);

  std::vector<std::string> m_inputPaths;
  std::string m_outputPath;
  bool m_bAutoRun = false;
  // How the next plain argument is used: 's' input, 'o' output, other: dropped.
  char m_mode = 's';
};

}  // namespace vesk
