#include "schobj/sch_object.h"

#include "schfile/record_writer.h"

namespace vesk {

SchObject::~SchObject() = default;

void SchObject::operator delete(SchObject* object, std::destroying_delete_t) {
  const bool inArena = object->inArena_.set;
  object->~SchObject();
  if (!inArena) ::operator delete(object);
}

bool SchObject::readBlock(RecordReader&, const Point*, SchDocument*) { return false; }
bool SchObject::writeBlock(RecordWriter&, const Point*) { return false; }

void SchObject::move(int dx, int dy) {
  // Only the selected end moves; 0 and 3 move both.
  const int ends = selection_ & 3;
  if (ends != kSelectP2) p1_ += Point(dx, dy);
  if (ends != kSelectP1) p2_ += Point(dx, dy);
}

void SchObject::mirror() { mirrorAt(midpoint(p1_.x, p2_.x)); }

void SchObject::mirrorAt(int cx) {
  const int twice = wrapMul(2, cx);
  p1_.x = wrapSub(twice, p1_.x);
  p2_.x = wrapSub(twice, p2_.x);
}

void SchObject::rotate() { rotateAt(Point(midpoint(p1_.x, p2_.x), midpoint(p1_.y, p2_.y))); }

namespace {

// A quarter turn about c (y grows downwards: a point right of c moves
// below it).
Point turnQuarter(const Point& p, const Point& c) {
  return Point(wrapSub(wrapAdd(c.x, c.y), p.y), wrapAdd(wrapSub(c.y, c.x), p.x));
}

}  // namespace

void SchObject::rotateAt(const Point& c) {
  p1_ = turnQuarter(p1_, c);
  p2_ = turnQuarter(p2_, c);
}

void beginObjectBlock(RecordWriter& writer, std::string_view startTag, int layer) {
  writer.writeField(startTag);
  writer.writeInt("L", layer);
}

void endObjectBlock(RecordWriter& writer, std::string_view endTag) {
  writer.writeField(endTag);
  writer.endLine();
}

}  // namespace vesk
