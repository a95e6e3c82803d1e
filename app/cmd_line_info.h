// CPartsListCmdLineInfo: what the command line asks of the program.
//
// Filled once at start-up, one ParseParam call per argument, and only read
// afterwards by the main dialog. Plain arguments are input paths; "-o"
// makes the next plain argument the output path, "-F" asks for one
// conversion without interaction, "-s" returns to input paths, and any
// other flag letter makes the next plain argument be dropped. Only the
// first letter of a flag counts, and its case matters.
//
// The long options are the exception: each is taken whole (ParseLongOption)
// and names what it sets: "--grouped" and "--encoding=utf-8|shift_jis"
// choose the format of the list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/parts_list_format.h"

namespace vesk {

class CPartsListCmdLineInfo {
 public:
  // `text` without its '-' (or '/') when `isFlag`; `isLast` is not needed.
  void ParseParam(const char* text, bool isFlag, bool isLast);
  // Takes `argument` when it is one of the long options and returns true;
  // false for any other argument, which is then a plain argument or a flag.
  bool ParseLongOption(std::string_view argument);

  std::vector<std::string> m_inputPaths;
  std::string m_outputPath;
  bool m_bAutoRun = false;
  // How the next plain argument is used: 's' input, 'o' output, other: dropped.
  char m_mode = 's';
  // The format of the list (--grouped, --encoding=).
  PartsListFormat m_format;
  // A long option with a value it does not know, as given; the program
  // says so and ends without doing anything.
  std::string m_badOption;
};

}  // namespace vesk
