#include "schfile/object_factory.h"

#include <array>
#include <memory_resource>
#include <type_traits>

#include "memory/object_arena.h"
#include "schfile/block_reader.h"
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
  std::string_view tag;
  std::unique_ptr<SchObject> (*create)(ObjectArena&);
};

// "+SHEETINFO" is not here: the document reads it into the sheet info of
// the current read instead of keeping an object.
const std::array<TagClass, 10> kTagClasses = {{
    {"+COMPONENT", make<SchComponent>},
    {"+WIRE", make<SchWire>},
    {"+BUS", make<SchBus>},
    {"+DASH", make<SchDash>},
    {"+JUNCTION", make<SchJunction>},
    {"+ENTRY", make<SchEntry>},
    {"+BENTRY", make<SchBusEntry>},
    {"+LABEL", make<SchLabel>},
    {"+TAG", make<SchTag>},
    {"+COMMENT", make<SchComment>},
}};

}  // namespace

std::unique_ptr<SchObject> makeObjectForTag(std::string_view startTag, ObjectArena& arena) {
  for (const TagClass& entry : kTagClasses) {
    if (sameShortText(entry.tag, startTag)) return entry.create(arena);
  }
  return nullptr;
}

}  // namespace vesk
