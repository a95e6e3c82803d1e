#include "schobj/sch_line.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "schfile/block_reader.h"
#include "schfile/record_writer.h"
#include "schobj/object_keys.h"

namespace vesk {

namespace {

// a * b / c truncated toward zero, exact for operands that are differences
// of two 32-bit values (magnitudes below 2^32): the product of the
// magnitudes fits in 64 unsigned bits, where a signed 64-bit product could
// overflow. The callers guarantee |a| <= |c|, so the quotient stays within
// the magnitude of b. A zero divisor cannot reach here (see segmentTouches);
// it would give 0.
std::int64_t scaleExact(std::int64_t a, std::int64_t b, std::int64_t c) {
  if (c == 0) return 0;
  const auto magnitude = [](std::int64_t v) {
    return v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  };
  std::uint64_t q = magnitude(a) * magnitude(b) / magnitude(c);
  constexpr std::uint64_t kCap = std::uint64_t{1} << 62;
  if (q > kCap) q = kCap;
  const bool negative = ((a < 0) != (b < 0)) != (c < 0);
  return negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
}

// The y at which the line through a and b meets the vertical x = edgeX.
std::int64_t crossingY(const Point& a, const Point& b, int edgeX) {
  return scaleExact(std::int64_t{edgeX} - a.x, std::int64_t{b.y} - a.y, std::int64_t{b.x} - a.x) +
         a.y;
}

// The x at which the line through a and b meets the horizontal y = edgeY.
std::int64_t crossingX(const Point& a, const Point& b, int edgeY) {
  return scaleExact(std::int64_t{edgeY} - a.y, std::int64_t{b.x} - a.x, std::int64_t{b.y} - a.y) +
         a.x;
}

bool within(std::int64_t v, int low, int high) { return low <= v && v <= high; }

// Whether the segment a-b touches r (edges inclusive), by out-codes first and
// then by the crossings with the left, right, top and bottom edge in that
// order. An edge is tried only when one end lies beyond it and the other
// does not (ends beyond the same edge were rejected first), so the two ends
// differ in that coordinate and no divisor is zero.
bool segmentTouches(const Point& a, const Point& b, const Rect& r) {
  const int codeA = outCode(a, r);
  const int codeB = outCode(b, r);
  if ((codeA & codeB) != 0) return false;
  if (codeA == 0 || codeB == 0) return true;
  const int code = codeA | codeB;
  if (code == 5 || code == 10) return true;
  if ((code & 1) != 0 && within(crossingY(a, b, r.left), r.top, r.bottom)) return true;
  if ((code & 4) != 0 && within(crossingY(a, b, r.right), r.top, r.bottom)) return true;
  if ((code & 2) != 0 && within(crossingX(a, b, r.top), r.left, r.right)) return true;
  if ((code & 8) != 0 && within(crossingX(a, b, r.bottom), r.left, r.right)) return true;
  return false;
}

}  // namespace

Rect pointBox(const Point& q) {
  return Rect::fromOriginExtent(wrapSub(q.x, 2), wrapSub(q.y, 2), 5, 5);
}

// p2 when only p2 is selected, else p1.
Point SchLine::refPoint() const { return (selection_ & 3) == kSelectP2 ? p2_ : p1_; }

int SchLine::hitTest(const Point& p) const {
  return testSelection(pointBox(p)) != 0 ? kLineHit : 0;
}

int SchLine::testSelection(const Rect& r) const { return segmentTouches(p1_, p2_, r) ? 3 : 0; }

int SchLine::testDragSelection(const Rect& r) const {
  const int code1 = outCode(p1_, r);
  const int code2 = outCode(p2_, r);
  if ((code1 & code2) != 0) return 0;
  return (code1 == 0 ? kSelectP1 : 0) + (code2 == 0 ? kSelectP2 : 0);
}

bool SchLine::touchesRect(const Rect& r) const {
  const Rect grown(wrapSub(r.left, 1), wrapSub(r.top, 1), wrapAdd(r.right, 1),
                   wrapAdd(r.bottom, 1));
  return testSelection(grown) != 0;
}

Rect SchLine::area() const {
  // A partly selected line reports only the boxes of its selected ends.
  const int ends = selection_ & 3;
  Rect box = Rect::emptyAccumulator();
  if (ends == 0 || (ends & kSelectP1) != 0) box.unite(pointBox(p1_));
  if (ends == 0 || (ends & kSelectP2) != 0) box.unite(pointBox(p2_));
  return box;
}

Rect SchLine::pointRect() const {
  Rect r = Rect::fromCorners(p1_, p2_);
  r.normalize();
  return r;
}

bool SchLine::isValid() const { return p1_ != p2_; }

// The keys of every line block (wires, buses, dashed lines and the
// entries): the two ends, all four coordinates required. The layer is
// written but not read.
struct SchLine::Block : ObjectKeys<ObjectReading<SchLine>> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "L", .take = ignore},
      {.name = "X1", .required = true, .take = keepShiftedX<&SchLine::p1_>},
      {.name = "Y1", .required = true, .take = keepShiftedY<&SchLine::p1_>},
      {.name = "X2", .required = true, .take = keepShiftedX<&SchLine::p2_>},
      {.name = "Y2", .required = true, .take = keepShiftedY<&SchLine::p2_>},
  };

  // No tag: each class names its own block when it reads.
  static constexpr BlockRules<Reading> kRules{.colonRule = ColonRule::kStrict, .keys = kKeys};
};

std::span<const std::string_view> SchLine::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchLine::readLineBlock(RecordReader& reader, const Point* offset, const char* name) {
  Block::Reading block{*this, offset};
  return readByRules<Block::kRules>(reader, block, name);
}

bool SchLine::writeLineBlock(RecordWriter& writer, const Point* offset, const char* name) {
  const std::string startTag = std::string("+") + name;
  const std::string endTag = std::string("-") + name;
  beginObjectBlock(writer, startTag, layer_);
  writer.writeInt("X1", unshiftX(p1_.x, offset));
  writer.writeInt("Y1", unshiftY(p1_.y, offset));
  writer.writeInt("X2", unshiftX(p2_.x, offset));
  writer.writeInt("Y2", unshiftY(p2_.y, offset));
  endObjectBlock(writer, endTag);
  return true;
}

}  // namespace vesk
