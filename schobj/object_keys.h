// The reading state and the key functions that the tables of the object
// blocks share (their BlockRules, schfile/block_reader.h).
//
// Most keys of an object block only keep their value in a member of the
// object: a text as it stands, a number, or a coordinate shifted by the
// offset of the sheet the object is read into. ObjectKeys states each of
// these once, and an object's Block (the class's own table, where its
// members are accessible) derives from it, so that such a key takes one
// line of the table, for example
//   {.name = "N", .take = keepText<&SchComponent::name_>},
// and only keys with rules of their own are written out as functions.
// These functions only apply the member pointers; nothing here holds
// state.
#pragma once

#include <string_view>

#include "geometry/geometry.h"
#include "schfile/number_text.h"
#include "schobj/sch_object.h"

namespace vesk {

// What an object block is read into: the object and the offset of the
// sheet (null for none). A block that needs more derives from it.
template <class Object>
struct ObjectReading {
  Object& object;
  const Point* offset;
};

template <class ReadingOf>
struct ObjectKeys {
  using Reading = ReadingOf;

  // A key whose value is not read (the layer of a drawing object, the
  // edit and visible layers of the sheet: the editor's business).
  static bool ignore(Reading&, std::string_view) { return true; }

  // The value as it stands, in the text member `text`.
  template <auto text>
  static bool keepText(Reading& r, std::string_view value) {
    (r.object.*text).assign(value);
    return true;
  }

  // The value as a number, in coordinate `axis` of the point `point`.
  template <auto point, auto axis>
  static bool keepNumber(Reading& r, std::string_view value) {
    (r.object.*point).*axis = parseNumber(value);
    return true;
  }

  // The value as a number, true unless 0, in the flag `flag`.
  template <auto flag>
  static bool keepFlag(Reading& r, std::string_view value) {
    r.object.*flag = parseNumber(value) != 0;
    return true;
  }

  // The value as a coordinate of the sheet, shifted by the offset.
  template <auto point>
  static bool keepShiftedX(Reading& r, std::string_view value) {
    (r.object.*point).x = SchObject::shiftX(parseNumber(value), r.offset);
    return true;
  }
  template <auto point>
  static bool keepShiftedY(Reading& r, std::string_view value) {
    (r.object.*point).y = SchObject::shiftY(parseNumber(value), r.offset);
    return true;
  }
};

}  // namespace vesk
