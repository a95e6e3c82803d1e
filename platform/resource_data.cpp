#include "platform/resource_data.h"

namespace vesk {

namespace {

template <typename Entry>
const Entry* findById(std::span<const Entry> entries, int id) {
  for (const Entry& entry : entries) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

}  // namespace

const DialogControl* DialogTemplate::findControl(int controlId) const {
  if (controlId == kIdStatic) return nullptr;
  return findById(controls, controlId);
}

int iconPaletteIndex(char pixel) {
  if (pixel >= '0' && pixel <= '9') return pixel - '0';
  if (pixel >= 'A' && pixel <= 'F') return pixel - 'A' + 10;
  return -1;
}

const DialogTemplate* ResourceSet::findDialog(int id) const { return findById(dialogs, id); }
const StringResource* ResourceSet::findString(int id) const { return findById(strings, id); }
const IconResource* ResourceSet::findIcon(int id) const { return findById(icons, id); }

}  // namespace vesk
