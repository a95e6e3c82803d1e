// vesk: makes one parts list from Kolvane schematic files.
//
// With -F the conversion runs once without any window; the exit status
// tells the outcome (app/exit_status.h, README "Command line"). Without -F
// the main dialog needs a window system; where none can be shown the
// program says so and ends.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/parts_list_app.h"
#include "app/resources.h"
#include "platform/memory_host.h"
#include "platform/native_host.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  const vesk::ResourceSet& resources = vesk::partsListResources();
  // The in-memory host runs the automatic mode and needs no toolkit; only
  // an interactive run asks for the platform's windows.
  vesk::CMemoryHost memoryHost(resources, args);
  vesk::CPartsListApp app(memoryHost);
  app.InitInstance();
  int exitCode = app.ExitCode();
  if (!app.CmdInfo().m_bAutoRun) {
    if (std::unique_ptr<vesk::CUiHost> nativeHost = vesk::CreateNativeHost(resources, args)) {
      vesk::CPartsListApp windowApp(*nativeHost);
      windowApp.InitInstance();
      exitCode = windowApp.ExitCode();
    }
  }
  if (exitCode == vesk::kExitNoWindow) {
    std::fprintf(stderr,
                 "%s: no window can be shown here; use -F to convert without a window\n",
                 app.AppName().c_str());
  }
  return exitCode;
}
