// The result of the open-file dialog in the form the shell reads.
//
// With multiple selection allowed, Windows returns the explorer-style
// list: the directory, then each selected name, every text zero-terminated
// and the list ended by an empty text; one selected file comes back as its
// full path alone. A chooser may return files of several directories (a
// search, recent files): they are then given relative to the deepest
// directory that holds them all, so that joining directory and name gives
// each path back. The root directory is written as "/", any other without
// its final '/'.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// `paths` are absolute and not empty.
std::string openFileResult(const std::vector<std::string>& paths, bool multiple);

}  // namespace vesk
