// Platforms without a windowing backend of their own: no window can be
// shown, and the program runs through the in-memory host alone.
#include "platform/native_host.h"

namespace vesk {

std::unique_ptr<CUiHost> CreateNativeHost(const ResourceSet&, std::vector<std::string>) {
  return nullptr;
}

}  // namespace vesk
