// vesk: makes one parts list from Kolvane schematic files.
//
// With -F the conversion runs once without any window; the exit status
// tells the outcome (app/exit_status.h, README "Command line"). Without -F
// the main dialog needs a window system; where none can be shown the
// program says so and ends.
#include <cstdio>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/parts_list_app.h"
#include "app/resources.h"
#include "platform/memory_host.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  vesk::CMemoryHost host(vesk::partsListResources(), std::move(args));
  vesk::CPartsListApp app(host);
  app.InitInstance();
  if (app.ExitCode() == vesk::kExitNoWindow) {
    std::fprintf(stderr,
                 "%s: no window can be shown here; use -F to convert without a window\n",
                 app.AppName().c_str());
  }
  return app.ExitCode();
}
