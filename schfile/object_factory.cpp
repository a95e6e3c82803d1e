#include "schfile/object_factory.h"

#include <memory_resource>
#include <type_traits>

#include "memory/object_arena.h"
#include "schobj/sch_component.h"
#include "schobj/sch_junction.h"
#include "schobj/sch_line.h"
#include "schobj/sch_object.h"
#include "schobj/sch_text.h"

namespace vesk {

namespace {

// An object that holds more than itself (a component's part) takes that
// memory from the arena too.
template <class T>
std::unique_ptr<SchObject> make(ObjectArena& arena) {
  if constexpr (std::is_constructible_v<T, std::pmr::memory_resource*>) {
    return arena.make<T>(arena.resource());
  } else {
    return arena.make<T>();
  }
}

struct TagClass {
  std::string_view startTag;
  std::unique_ptr<SchObject> (*create)(ObjectArena&);
};

template <class T>
constexpr TagClass tagClass() {
  return {T::kTag.start(), make<T>};
}

// The sheet info is not here: the document reads it into the sheet info of
// the current read instead of keeping an object.
constexpr TagClass kTagClasses[] = {
    tagClass<SchComponent>(), tagClass<SchWire>(), tagClass<SchBus>(),
    tagClass<SchDash>(),      tagClass<SchJunction>(), tagClass<SchEntry>(),
    tagClass<SchBusEntry>(),  tagClass<SchLabel>(), tagClass<SchTag>(),
    tagClass<SchComment>(),
};

}  // namespace

std::unique_ptr<SchObject> makeObjectForTag(std::string_view startTag, ObjectArena& arena) {
  for (const TagClass& entry : kTagClasses) {
    if (entry.startTag == startTag) return entry.create(arena);
  }
  return nullptr;
}

}  // namespace vesk
