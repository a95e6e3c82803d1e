// The entry point of the GTK module (vesk-gtk.so), shared by the module
// and the loader in gtk_loader.cpp.
//
// The module is opened with dlopen only when a window is to be shown, so
// that the program itself depends on no toolkit library. Its one exported
// function opens the display and returns a new host that the caller owns
// (delete through CUiHost's virtual destructor; the module stays loaded
// for the rest of the process), or null when no display can be opened.
// The interface version guards against a module left over from another
// build: loader and module compare it before anything else is called.
#pragma once

#include "platform/ui_host.h"

namespace vesk {

inline constexpr int kGtkModuleInterfaceVersion = 2;
inline constexpr const char* kGtkModuleFileName = "vesk-gtk.so";
inline constexpr const char* kGtkModuleVersionSymbol = "vesk_gtk_module_interface_version";
inline constexpr const char* kGtkModuleCreateSymbol = "vesk_gtk_create_host";

// `argv` holds `argc` arguments, [0] being the program path.
using GtkModuleVersionFunction = int (*)();
using GtkModuleCreateFunction = CUiHost* (*)(const ResourceSet* resources, int argc,
                                             const char* const* argv);

}  // namespace vesk
