// CreateNativeHost: the platform's real windowing host, or null where no
// window can be shown (no display, no desktop, toolkit missing).
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "platform/ui_host.h"
namespace vesk {
std::unique_ptr<CUiHost> CreateNativeHost(const ResourceSet& resources,
                                          std::vector<std::string> args);
}  // namespace vesk
