// Helpers for the object tests: read one block from text, write an object
// back to text, and describe an object's state in one comparable string.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "schfile/object_factory.h"
#include "schfile/record_reader.h"
#include "schfile/record_writer.h"
#include "schobj/sch_junction.h"
#include "schobj/sch_line.h"
#include "schobj/sch_text.h"

namespace vesk::test {

// Reads the fields after a start tag ("X:1,...,-JUNCTION") into `object`.
inline bool readInto(SchObject& object, std::string_view body, const Point* offset = nullptr) {
  RecordReader reader(body);
  return object.readBlock(reader, offset, nullptr);
}

// Reads a whole block, start tag included, into a new object of its class.
inline std::unique_ptr<SchObject> readWhole(std::string_view text, const Point* offset = nullptr) {
  RecordReader reader(text);
  std::string tag;
  if (reader.readField(tag) == -1) return nullptr;
  std::unique_ptr<SchObject> object = makeObjectForTag(tag);
  if (!object || !object->readBlock(reader, offset, nullptr)) return nullptr;
  return object;
}

inline std::string written(SchObject& object, const Point* offset = nullptr) {
  std::string text;
  RecordWriter writer(text);
  object.writeBlock(writer, offset);
  return text;
}

inline std::string pointText(const Point& p) {
  return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

// Every field that a block carries, for comparing objects as a whole.
inline std::string describe(const SchObject& o) {
  std::string s = "type " + std::to_string(o.typeId()) + " layer " + std::to_string(o.layer()) +
                  " p1 " + pointText(o.p1()) + " p2 " + pointText(o.p2());
  if (const auto* label = dynamic_cast<const SchLabel*>(&o)) {
    s += " text '" + label->text() + "' h " + std::to_string(label->horizontal());
  } else if (const auto* tag = dynamic_cast<const SchTag*>(&o)) {
    s += " text '" + tag->text() + "' h " + std::to_string(tag->horizontal()) + " shape " +
         std::to_string(tag->shape());
  } else if (const auto* c = dynamic_cast<const SchComment*>(&o)) {
    s += " text '" + c->text() + "' font '" + c->fontName() + "' " + std::to_string(c->fontSize()) +
         " " + std::to_string(c->bold()) + std::to_string(c->italic()) +
         std::to_string(c->underline()) + std::to_string(c->strikeOut());
  }
  return s;
}

}  // namespace vesk::test

namespace vesk {
// Readable failure messages for the geometry types.
inline void PrintTo(const Point& p, std::ostream* os) { *os << test::pointText(p); }
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
}  // namespace vesk
