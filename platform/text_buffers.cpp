#include "platform/text_buffers.h"

#include <algorithm>
#include <cstring>

#include "platform/ui_host.h"

namespace vesk {

int ListItemTextLength(const std::vector<std::string>& items, int index) {
  if (index < 0 || index >= static_cast<int>(items.size())) return kListError;
  return static_cast<int>(items[static_cast<std::size_t>(index)].size());
}

int CopyListItemText(const std::vector<std::string>& items, int index, char* buffer,
                     std::size_t capacity) {
  const int length = ListItemTextLength(items, index);
  if (length < 0 || buffer == nullptr || static_cast<std::size_t>(length) >= capacity) {
    return kListError;
  }
  const std::string& text = items[static_cast<std::size_t>(index)];
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return length;
}

unsigned CopyDroppedPath(const std::vector<std::string>& paths, unsigned index, char* buffer,
                         unsigned capacity) {
  if (index == kDragQueryCount) return static_cast<unsigned>(paths.size());
  if (index >= paths.size()) return 0;
  const std::string& path = paths[index];
  if (buffer == nullptr || capacity == 0) return static_cast<unsigned>(path.size());
  const std::size_t length = std::min<std::size_t>(path.size(), capacity - 1);
  std::memcpy(buffer, path.data(), length);
  buffer[length] = '\0';
  return static_cast<unsigned>(length);
}

}  // namespace vesk
