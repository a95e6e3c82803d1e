// CPartsListApp: the application object of the vesk program.
//
// Reads the command line into m_cmdInfo, shows the main dialog once,
// modally, and turns the dialog's outcome into the process exit status.
// In automatic mode it tells on the error stream what failed and why, or
// what the list found of duplicate references; --help and --version
// answer on the output stream without any dialog, and an argument with a
// value it does not take ends it before the dialog. The host it runs on
// is owned by the caller (main) and outlives it, and so do the streams.
#pragma once

#include <cstdio>
#include <span>
#include <string>

#include "app/cmd_line_info.h"
#include "platform/ui_host.h"

namespace vesk {

class CPartsListApp {
 public:
  explicit CPartsListApp(CUiHost& host, std::FILE* out = stdout, std::FILE* err = stderr)
      : m_host(host), m_out(out), m_err(err) {}

  // Start-up: parse, show the dialog, return false (the process then ends).
  bool InitInstance();

  // Feeds every argument after the program's name to ParseLongOption, and
  // those it does not take to ParseParam. A leading '-' marks a flag (a
  // lone "-" does not), and so does '/' where `slashStartsFlag`.
  static void ParseCommandLine(CPartsListCmdLineInfo& info, std::span<const std::string> args,
                               bool slashStartsFlag);
  // The executable's file name without directory and extension.
  static std::string AppNameFromModulePath(std::string_view modulePath);

  CUiHost& Host() const { return m_host; }
  const CPartsListCmdLineInfo& CmdInfo() const { return m_cmdInfo; }
  const std::string& AppName() const { return m_appName; }
  int ExitCode() const { return m_exitCode; }

  CPartsListCmdLineInfo m_cmdInfo;

 private:
  CUiHost& m_host;
  std::FILE* m_out;
  std::FILE* m_err;
  std::string m_appName;
  int m_exitCode = 0;
};

}  // namespace vesk
