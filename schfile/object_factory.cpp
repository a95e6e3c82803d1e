#include "schfile/object_factory.h"

#include <array>

#include "schfile/block_reader.h"
#include "schobj/sch_component.h"
#include "schobj/sch_junction.h"
#include "schobj/sch_line.h"
#include "schobj/sch_object.h"
#include "schobj/sch_text.h"

namespace vesk {

namespace {

template <class T>
std::unique_ptr<SchObject> make() {
  return std::make_unique<T>();
}

struct TagClass {
  std::string_view tag;
  std::unique_ptr<SchObject> (*create)();
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

std::unique_ptr<SchObject> makeObjectForTag(std::string_view startTag) {
  for (const TagClass& entry : kTagClasses) {
    if (sameShortText(entry.tag, startTag)) return entry.create();
  }
  return nullptr;
}

}  // namespace vesk
