// Windows: the Win32 host, unless this process has no desktop to show a
// window on (a service session, or Wine without a display).
#include <windows.h>

#include "platform/native_host.h"
#include "platform/win32/win32_host.h"

namespace vesk {

std::unique_ptr<CUiHost> CreateNativeHost(const ResourceSet& resources,
                                          std::vector<std::string> args) {
  if (!CWin32Host::CanCreateWindows()) return nullptr;
  return std::make_unique<CWin32Host>(resources, std::move(args));
}

}  // namespace vesk
