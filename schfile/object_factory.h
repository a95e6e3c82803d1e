// The start-tag table of the schematic format: which object class each
// top-level start tag makes. Adding a class to the format means adding one
// row to the table in object_factory.cpp.
#pragma once

#include <memory>
#include <string_view>

namespace vesk {

class ObjectArena;
class SchObject;

// A new, default-constructed object for `startTag` (the start tag of a
// class's kTag), made in `arena`, or null when the tag has no class.
std::unique_ptr<SchObject> makeObjectForTag(std::string_view startTag, ObjectArena& arena);

}  // namespace vesk
