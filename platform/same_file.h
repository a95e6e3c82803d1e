// The same-file test: do two paths name one file on disk?
//
// Paths can differ in spelling (relative and absolute, "./", doubled
// separators, links, letter case on Windows) and still name the same
// file, so the test asks the file system for the files' identities rather
// than comparing the texts.
#pragma once

namespace vesk {

// True when both paths name existing files with the same identity (device
// and inode on POSIX, volume serial and file index on Windows); false when
// either cannot be examined.
bool pathsNameSameFile(const char* first, const char* second);

}  // namespace vesk
