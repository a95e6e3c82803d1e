// The two exported functions of the GTK module (see gtk_module.h).
#include "platform/gtk/gtk_host.h"
#include "platform/gtk/gtk_module.h"

#define VESK_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

VESK_MODULE_EXPORT int vesk_gtk_module_interface_version() {
  return vesk::kGtkModuleInterfaceVersion;
}

VESK_MODULE_EXPORT vesk::CUiHost* vesk_gtk_create_host(const vesk::ResourceSet* resources,
                                                      int argc, const char* const* argv) {
  if (resources == nullptr || argc < 0 || (argc > 0 && argv == nullptr)) return nullptr;
  std::vector<std::string> args(argv, argv + argc);
  return vesk::CGtkHost::Create(*resources, std::move(args)).release();
}
