// The native host on Linux and other POSIX systems: the GTK module,
// loaded only now that a window is wanted.
//
// The module is looked for beside the executable (the build tree) and in
// ../lib/vesk below it (an installed tree). No display, no module, a
// module of another build or a display that cannot be opened all mean
// that no window can be shown here; the caller then says so.
#include "platform/native_host.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/gtk/gtk_module.h"

namespace vesk {

namespace {

bool hasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// The directory of the running executable, with its final '/'.
std::string executableDirectory(const std::vector<std::string>& args) {
  std::string path(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length > 0) {
    path.resize(static_cast<std::size_t>(length));
  } else if (!args.empty()) {
    path = args.front();
  } else {
    path.clear();
  }
  const std::size_t cut = path.rfind('/');
  return cut == std::string::npos ? std::string("./") : path.substr(0, cut + 1);
}

void* openModule(const std::string& directory) {
  for (const char* place : {"", "../lib/vesk/"}) {
    const std::string candidate = directory + place + kGtkModuleFileName;
    if (access(candidate.c_str(), R_OK) != 0) continue;
    if (void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<CUiHost> CreateNativeHost(const ResourceSet& resources,
                                          std::vector<std::string> args) {
  if (!hasDisplay()) return nullptr;
  void* module = openModule(executableDirectory(args));
  if (module == nullptr) return nullptr;
  // The module is never closed: the host's code lives in it.
  const auto version =
      reinterpret_cast<GtkModuleVersionFunction>(dlsym(module, kGtkModuleVersionSymbol));
  const auto create =
      reinterpret_cast<GtkModuleCreateFunction>(dlsym(module, kGtkModuleCreateSymbol));
  if (version == nullptr || create == nullptr || version() != kGtkModuleInterfaceVersion) {
    return nullptr;
  }
  std::vector<const char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  return std::unique_ptr<CUiHost>(
      create(&resources, static_cast<int>(args.size()), argv.data()));
}

}  // namespace vesk
