#include "schobj/sch_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>

#include "schfile/block_reader.h"
#include "schfile/record_writer.h"
#include "schobj/object_keys.h"
#include "schobj/area_tests.h"

namespace vesk {

namespace {

// Texts drawn as boxes of `unit` sheet units per byte: the width in 32 bits
// for any length (a text of a quarter of a gigabyte is already off the
// sheet, so longer ones are measured as that long).
int widthForBytes(std::size_t bytes, int unit) {
  const std::size_t cap = static_cast<std::size_t>(std::numeric_limits<int>::max() / unit);
  return static_cast<int>(std::min(bytes, cap)) * unit;
}

int orientationKey(bool horizontal) { return horizontal ? 1 : 0; }

}  // namespace

// --- SchLabel ---------------------------------------------------------------

// A label: its base point, its direction and its text, all required.
struct SchLabel::Block : ObjectKeys<ObjectReading<SchLabel>> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "L", .take = ignore},
      {.name = "X", .required = true, .take = keepShiftedX<&SchLabel::p1_>},
      {.name = "Y", .required = true, .take = keepShiftedY<&SchLabel::p1_>},
      {.name = "D", .required = true, .take = keepFlag<&SchLabel::horizontal_>},
      {.name = "S", .required = true, .take = keepText<&SchLabel::text_>},
  };

  static constexpr BlockRules<Reading> kRules{
      .tag = kTag, .colonRule = ColonRule::kStrict, .keys = kKeys};
};

std::span<const std::string_view> SchLabel::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchLabel::readBlock(RecordReader& reader, const Point* offset, SchDocument*) {
  Block::Reading block{*this, offset};
  return readByRules<Block::kRules>(reader, block);
}

bool SchLabel::writeBlock(RecordWriter& writer, const Point* offset) {
  beginObjectBlock(writer, kTag.start(), layer_);
  writer.writeInt("X", unshiftX(p1_.x, offset));
  writer.writeInt("Y", unshiftY(p1_.y, offset));
  writer.writeInt("D", orientationKey(horizontal_));
  writer.writeText("S", text_);
  endObjectBlock(writer, kTag.end());
  return true;
}

void SchLabel::rotateAt(const Point& c) {
  horizontal_ = !horizontal_;
  SchObject::rotateAt(c);
}

int SchLabel::hitTest(const Point& p) const { return hitTestArea(p, area()); }
int SchLabel::testSelection(const Rect& r) const { return selectionOfArea(r, area()); }
int SchLabel::testDragSelection(const Rect& r) const { return selectionOfArea(r, area()); }
bool SchLabel::touchesRect(const Rect& r) const { return r.intersects(area()); }

Rect SchLabel::area() const {
  // The text runs from the base point to the right (or upwards) in a band
  // 10 units high (or wide), 8 units per byte.
  const int w = widthForBytes(text_.size(), 8);
  if (horizontal_) return Rect(p1_.x, wrapSub(p1_.y, 10), wrapAdd(p1_.x, w), p1_.y);
  return Rect(wrapSub(p1_.x, 10), wrapSub(p1_.y, w), p1_.x, p1_.y);
}

Rect SchLabel::pointRect() const { return Rect::fromCorners(p1_, p1_); }

// --- SchTag -----------------------------------------------------------------

int SchTag::lengthForText(std::size_t bytes) {
  static constexpr std::array<int, 13> kShortLengths = {20, 20, 30, 40,  50,  60, 70,
                                                        80, 80, 90, 100, 110, 120};
  if (bytes < kShortLengths.size()) return kShortLengths[bytes];
  // The smallest multiple of 10 not below 8 n + 20, in 64 bits and with n
  // capped so that the result stays an int32.
  constexpr std::uint64_t kMaxBytes = (std::numeric_limits<int>::max() - 29) / 8;
  const std::uint64_t n = std::min<std::uint64_t>(bytes, kMaxBytes);
  return static_cast<int>((8 * n + 29) / 10 * 10);
}

// A tag: its first end, its direction, its shape and its text, all
// required (an empty value reads as 0 or the empty text); the far end
// follows from the text.
struct SchTag::Block : ObjectKeys<ObjectReading<SchTag>> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "L", .take = ignore},
      {.name = "X", .required = true, .take = keepShiftedX<&SchTag::p1_>},
      {.name = "Y", .required = true, .take = keepShiftedY<&SchTag::p1_>},
      {.name = "D", .required = true, .take = keepFlag<&SchTag::horizontal_>},
      // Shapes 1 to 3; anything else is the plain shape 0.
      {.name = "T", .required = true,
       .take = [](Reading& b, std::string_view value) {
         const int shape = parseNumber(value);
         b.object.shape_ = shape >= 1 && shape <= 3 ? shape : 0;
         return true;
       }},
      {.name = "S", .required = true, .take = keepText<&SchTag::text_>},
  };

  static constexpr BlockRules<Reading> kRules{
      .tag = kTag, .colonRule = ColonRule::kLax, .keys = kKeys};
};

std::span<const std::string_view> SchTag::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchTag::readBlock(RecordReader& reader, const Point* offset, SchDocument*) {
  Block::Reading block{*this, offset};
  if (!readByRules<Block::kRules>(reader, block)) return false;
  // The far end follows from the text: to the right, or upwards.
  const int length = lengthForText(text_.size());
  p2_ = horizontal_ ? Point(wrapAdd(p1_.x, length), p1_.y) : Point(p1_.x, wrapSub(p1_.y, length));
  return true;
}

bool SchTag::writeBlock(RecordWriter& writer, const Point* offset) {
  beginObjectBlock(writer, kTag.start(), layer_);
  writer.writeInt("X", unshiftX(p1_.x, offset));
  writer.writeInt("Y", unshiftY(p1_.y, offset));
  writer.writeInt("D", orientationKey(horizontal_));
  writer.writeInt("T", shape_);
  writer.writeText("S", text_);
  endObjectBlock(writer, kTag.end());
  return true;
}

void SchTag::mirrorShape() {
  if (shape_ == 1 || shape_ == 2) shape_ = 3 - shape_;
}

void SchTag::normalizeEnds() {
  if (horizontal_ && p1_.x > p2_.x) std::swap(p1_.x, p2_.x);
  if (!horizontal_ && p1_.y < p2_.y) std::swap(p1_.y, p2_.y);
}

void SchTag::mirrorAt(int cx) {
  // A vertical tag mirrored left to right keeps its outline.
  if (horizontal_) mirrorShape();
  SchObject::mirrorAt(cx);
  normalizeEnds();
}

void SchTag::rotate() { rotateAt(area().center()); }

void SchTag::rotateAt(const Point& c) {
  const Point centre = c;  // c may be one of this tag's own ends
  // Turning a vertical tag flat swaps shapes 1 and 2; turning a flat one
  // upright keeps its shape.
  if (!horizontal_) mirrorShape();
  horizontal_ = !horizontal_;
  SchObject::rotateAt(centre);
  normalizeEnds();
}

int SchTag::hitTest(const Point& p) const { return hitTestArea(p, area()); }
int SchTag::testSelection(const Rect& r) const { return selectionOfArea(r, area()); }
int SchTag::testDragSelection(const Rect& r) const { return selectionOfArea(r, area()); }
bool SchTag::touchesRect(const Rect& r) const { return r.intersects(area()); }

Rect SchTag::area() const {
  // An outline 11 units across around the line from p1 to p2.
  if (horizontal_) return Rect(p1_.x, wrapSub(p1_.y, 5), wrapAdd(p2_.x, 1), wrapAdd(p1_.y, 6));
  return Rect(wrapSub(p2_.x, 5), p2_.y, wrapAdd(p2_.x, 6), wrapAdd(p1_.y, 1));
}

// --- SchComment -------------------------------------------------------------

// A comment: its base point and text (required) and its font. Style
// letters only ever switch a style on; others are ignored.
struct SchComment::Block : ObjectKeys<ObjectReading<SchComment>> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "L", .take = ignore},
      {.name = "X", .required = true, .take = keepShiftedX<&SchComment::p1_>},
      {.name = "Y", .required = true, .take = keepShiftedY<&SchComment::p1_>},
      {.name = "S", .required = true, .take = keepText<&SchComment::text_>},
      {.name = "FN", .take = keepText<&SchComment::fontName_>},
      {.name = "FS",
       .take = [](Reading& b, std::string_view value) {
         b.object.setFontSize(parseNumber(value));
         return true;
       }},
      {.name = "FF",
       .take = [](Reading& b, std::string_view value) {
         for (const char letter : value) {
           if (letter == 'B') b.object.bold_ = true;
           if (letter == 'I') b.object.italic_ = true;
           if (letter == 'U') b.object.underline_ = true;
           if (letter == 'S') b.object.strikeOut_ = true;
         }
         return true;
       }},
  };

  static constexpr BlockRules<Reading> kRules{
      .tag = kTag, .colonRule = ColonRule::kStrict, .keys = kKeys};
};

std::span<const std::string_view> SchComment::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchComment::readBlock(RecordReader& reader, const Point* offset, SchDocument*) {
  // The font style is not carried over from an earlier read; the text and
  // font name are, until their keys come.
  extentValid_ = false;
  fontSize_ = kDefaultFontSize;
  bold_ = italic_ = underline_ = strikeOut_ = false;
  Block::Reading block{*this, offset};
  return readByRules<Block::kRules>(reader, block);
}

bool SchComment::writeBlock(RecordWriter& writer, const Point* offset) {
  beginObjectBlock(writer, kTag.start(), layer_);
  writer.writeInt("X", unshiftX(p1_.x, offset));
  writer.writeInt("Y", unshiftY(p1_.y, offset));
  writer.writeText("S", text_);
  writer.writeText("FN", fontName_);
  writer.writeInt("FS", fontSize_);
  std::string styles = "FF:";
  if (bold_) styles.push_back('B');
  if (italic_) styles.push_back('I');
  if (underline_) styles.push_back('U');
  if (strikeOut_) styles.push_back('S');
  writer.writeField(styles);
  endObjectBlock(writer, kTag.end());
  return true;
}

void SchComment::setFontSize(int size) {
  fontSize_ = std::clamp(size, kMinFontSize, kMaxFontSize);
  extentValid_ = false;
}

void SchComment::setMeasuredExtent(int ascent, const Point& extent) {
  ascent_ = ascent;
  extent_ = extent;
  extentValid_ = true;
}

int SchComment::hitTest(const Point& p) const { return hitTestArea(p, area()); }
int SchComment::testSelection(const Rect& r) const { return selectionOfArea(r, area()); }
int SchComment::testDragSelection(const Rect& r) const { return selectionOfArea(r, area()); }
bool SchComment::touchesRect(const Rect& r) const { return !extentValid_ || r.intersects(area()); }

Rect SchComment::area() const {
  // Before the text is measured, a 20 x 10 box standing on the base point.
  const int ascent = extentValid_ ? ascent_ : 10;
  const Point extent = extentValid_ ? extent_ : Point(20, 10);
  const int top = wrapSub(p1_.y, ascent);
  return Rect(p1_.x, top, wrapAdd(p1_.x, extent.x), wrapAdd(top, extent.y));
}

}  // namespace vesk
