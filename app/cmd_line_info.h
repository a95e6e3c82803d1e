// CPartsListCmdLineInfo: what the command line asks of the program.
//
// Filled once at start-up, one ParseParam call per argument, and only read
// afterwards by the main dialog. Plain arguments are input paths; "-o"
// makes the next plain argument the output path, "-F" asks for one
// conversion without interaction, "-s" returns to input paths, and any
// other flag letter makes the next plain argument be dropped. Only the
// first letter of a flag counts, and its case matters.
//
// A few arguments are read whole instead, as command-line programs
// everywhere read them: "--help" (and "/?" where '/' starts a flag) and
// "--version" ask for the help or the version instead of a run (the first
// of them given counts); "--grouped" and "--encoding=utf-8|shift_jis"
// choose the format of the list, and "--changes-since=FILE" asks for the
// changes since the list FILE instead. Any other argument keeps the
// first-letter rule.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/parts_list_format.h"

namespace vesk {

class CPartsListCmdLineInfo {
 public:
  enum class Request {
    kRun,      // the dialog, or with -F one conversion
    kHelp,     // the help on the standard output
    kVersion,  // the version on the standard output
  };

  // `text` without its '-' (or '/') when `isFlag`; `isLast` is not needed.
  void ParseParam(const char* text, bool isFlag, bool isLast);
  // Takes `arg`, as given, when it is one of the arguments read whole;
  // false for any other argument, which goes to ParseParam. An argument
  // with a value it does not know is kept in m_badOption.
  bool ParseWholeArgument(std::string_view arg, bool slashStartsFlag);

  std::vector<std::string> m_inputPaths;
  std::string m_outputPath;
  bool m_bAutoRun = false;
  Request m_request = Request::kRun;
  // How the next plain argument is used: 's' input, 'o' output, other: dropped.
  char m_mode = 's';
  // The format of the list (--grouped, --encoding=).
  PartsListFormat m_format;
  // The parts list to tell the changes since (--changes-since=); empty
  // for none.
  std::string m_changesSince;
  // An argument read whole with a value it does not know, as given; the
  // program says so and ends without doing anything.
  std::string m_badOption;
};

}  // namespace vesk
