// Helpers for the object tests: read a block from text, write an object to
// text, and describe an object's state as one comparable string.
#pragma once

#include <memory>
#include <string>
#include <string_view>

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

inline std::string written(SchObject& object, const Point* offset = nullptr) {
  std::string text;
  RecordWriter writer(text);
  object.writeBlock(writer, offset);
  return text;
}

inline std::string str(const Point& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// Every field that a block carries.
inline std::string describe(const SchObject& o) {
  std::string s = std::to_string(o.typeId()) + " L" + std::to_string(o.layer()) + " (" +
                  str(o.p1()) + ")-(" + str(o.p2()) + ")";
  if (const auto* label = dynamic_cast<const SchLabel*>(&o)) {
    s += " '" + label->text() + "' " + std::to_string(label->horizontal());
  } else if (const auto* tag = dynamic_cast<const SchTag*>(&o)) {
    s += " '" + tag->text() + "' " + std::to_string(tag->horizontal()) +
         std::to_string(tag->shape());
  } else if (const auto* c = dynamic_cast<const SchComment*>(&o)) {
    s += " '" + c->text() + "' '" + c->fontName() + "' " + std::to_string(c->fontSize()) + " " +
         std::to_string(c->bold()) + std::to_string(c->italic()) + std::to_string(c->underline()) +
         std::to_string(c->strikeOut());
  }
  return s;
}

inline std::string str(const Rect& r) {
  return str(Point(r.left, r.top)) + "," + str(Point(r.right, r.bottom));
}

}  // namespace vesk::test
