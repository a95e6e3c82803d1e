// vesk: makes one parts list from Kolvane schematic files.
//
// With -F the conversion runs once without any window, on the headless
// host; the exit status tells the outcome (app/exit_status.h, README
// "Command line"), and a line on the standard error stream why a run
// failed. --help and --version answer without any window as well, and so
// does an argument with a value it does not take. Otherwise the main
// dialog needs the platform's windows; where none can be shown the
// program says so and ends.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/cmd_line_info.h"
#include "app/exit_status.h"
#include "app/parts_list_app.h"
#include "app/resources.h"
#include "platform/headless/headless_host.h"
#include "platform/native_host.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  const vesk::ResourceSet& resources = vesk::partsListResources();
  // The headless host knows how the platform splits flags; it answers
  // before any toolkit is loaded, so -F never loads one.
  vesk::CHeadlessHost headless(resources, args);
  vesk::CPartsListCmdLineInfo cmdInfo;
  vesk::CPartsListApp::ParseCommandLine(cmdInfo, args, headless.SlashStartsFlag());

  const bool showsWindows = !cmdInfo.m_bAutoRun && cmdInfo.m_badOption.empty() &&
                            cmdInfo.m_request == vesk::CPartsListCmdLineInfo::Request::kRun;
  std::unique_ptr<vesk::CUiHost> native;
  if (showsWindows) native = vesk::CreateNativeHost(resources, args);
  vesk::CUiHost& host = native != nullptr ? *native : headless;
  vesk::CPartsListApp app(host);
  app.InitInstance();
  const int exitCode = app.ExitCode();
  if (exitCode == vesk::kExitNoWindow) {
    std::fprintf(stderr,
                 "%s: no window can be shown here; use -F to convert without a window\n",
                 app.AppName().c_str());
  } else if (exitCode == vesk::kExitBadOption) {
    std::fprintf(stderr, "%s: %s: not a value this option takes\n", app.AppName().c_str(),
                 app.CmdInfo().m_badOption.c_str());
  }
  return exitCode;
}
