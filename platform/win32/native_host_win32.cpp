// Windows: the Win32 host, unless this process has no desktop to show a
// window on (a service session, or Wine without a display).
#include <windows.h>
#include <commctrl.h>

#include "platform/native_host.h"
#include "platform/win32/win32_host.h"

namespace vesk {

std::unique_ptr<CUiHost> CreateNativeHost(const ResourceSet& resources,
                                          std::vector<std::string> args) {
  // The manifest binds the program to Common Controls 6; initialising it
  // registers its standard controls, which draw in the system's visual
  // style.
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  if (!CWin32Host::CanCreateWindows()) return nullptr;
  return std::make_unique<CWin32Host>(resources, std::move(args));
}

}  // namespace vesk
