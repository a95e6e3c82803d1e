#include "schobj/sch_junction.h"

#include <utility>

#include "schfile/block_reader.h"
#include "schfile/record_writer.h"
#include "schobj/object_keys.h"
#include "schobj/area_tests.h"

namespace vesk {

struct SchJunction::Block : ObjectKeys<ObjectReading<SchJunction>> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "L", .take = ignore},
      {.name = "X", .required = true, .take = keepShiftedX<&SchJunction::p1_>},
      {.name = "Y", .required = true, .take = keepShiftedY<&SchJunction::p1_>},
  };

  static constexpr BlockRules<Reading> kRules{
      .tag = kTag, .colonRule = ColonRule::kStrict, .keys = kKeys};
};

std::span<const std::string_view> SchJunction::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchJunction::readBlock(RecordReader& reader, const Point* offset, SchDocument*) {
  Block::Reading block{*this, offset};
  return readByRules<Block::kRules>(reader, block);
}

bool SchJunction::writeBlock(RecordWriter& writer, const Point* offset) {
  beginObjectBlock(writer, kTag.start(), layer_);
  writer.writeInt("X", unshiftX(p1_.x, offset));
  writer.writeInt("Y", unshiftY(p1_.y, offset));
  endObjectBlock(writer, kTag.end());
  return true;
}

int SchJunction::hitTest(const Point& p) const { return hitTestArea(p, area()); }
int SchJunction::testSelection(const Rect& r) const { return selectionOfArea(r, area()); }
int SchJunction::testDragSelection(const Rect& r) const { return selectionOfArea(r, area()); }
bool SchJunction::touchesRect(const Rect& r) const { return r.intersects(area()); }
Rect SchJunction::area() const { return pointBox(p1_); }
Rect SchJunction::pointRect() const { return Rect::fromCorners(p1_, p1_); }

SchEntry::SchEntry() {
  p1_ = Point(0, kSize);
  p2_ = Point(kSize, 0);
}

int SchEntry::normalizeEnds() {
  if (p1_.y < p2_.y) std::swap(p1_, p2_);
  return p1_.x < p2_.x ? 1 : 0;
}

void SchEntry::applyDirection(int direction) {
  p2_.y = wrapSub(p1_.y, kSize);
  p2_.x = direction == 1 ? wrapAdd(p1_.x, kSize) : wrapSub(p1_.x, kSize);
}

bool SchEntry::readEntryBlock(RecordReader& reader, const Point* offset, const char* name) {
  // Only the lower end is kept as read; the upper end only tells the
  // direction, and the shape is rebuilt from it.
  if (!readLineBlock(reader, offset, name)) return false;
  applyDirection(normalizeEnds());
  return true;
}

bool SchEntry::writeEntryBlock(RecordWriter& writer, const Point* offset, const char* name) {
  if (p1_.y < p2_.y) std::swap(p1_, p2_);
  return writeLineBlock(writer, offset, name);
}

void SchEntry::setX1(int x) {
  const int direction = normalizeEnds();
  p2_.x = direction == 1 ? wrapAdd(x, kSize) : wrapSub(x, kSize);
  p1_.x = x;
}

void SchEntry::setY1(int y) {
  p1_.y = y;
  p2_.y = wrapSub(y, kSize);
}

void SchEntry::setP1(const Point& p) {
  // A copy first: p may be this entry's own p1, which setX1 can swap away.
  const Point target = p;
  setX1(target.x);
  setY1(target.y);
}

int SchEntry::testDragSelection(const Rect& r) const { return testSelection(r); }

}  // namespace vesk
