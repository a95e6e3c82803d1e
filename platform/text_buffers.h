// Copying texts into callers' buffers the way the Windows list box and
// drop calls do: shared by the hosts that keep their list entries and
// dropped paths themselves (the headless and GTK hosts, and the tests'
// in-memory host; the headless host takes no drops).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vesk {

// LB_GETTEXTLEN: the length of entry `index`, or -1 for a bad index.
int ListItemTextLength(const std::vector<std::string>& items, int index);

// LB_GETTEXT with a capacity: copies entry `index` and a terminating zero
// into `buffer` and returns its length; -1 for a bad index or a text that
// does not fit `capacity` bytes (nothing is written then).
int CopyListItemText(const std::vector<std::string>& items, int index, char* buffer,
                     std::size_t capacity);

// DragQueryFile: kDragQueryCount asks for the number of paths; otherwise
// path `index` is copied, cut to capacity - 1 bytes and zero-terminated,
// and its copied length returned (its full length when no buffer is
// given, 0 for a bad index).
unsigned CopyDroppedPath(const std::vector<std::string>& paths, unsigned index, char* buffer,
                         unsigned capacity);

}  // namespace vesk
