#include "schobj/sch_component.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "partlib/library_section.h"
#include "partlib/part_def.h"
#include "schfile/block_reader.h"
#include "schfile/record_writer.h"
#include "schobj/object_keys.h"

namespace vesk {

namespace {

// Part sizes and pin offsets are in grid units of 10 sheet units.
constexpr int kGrid = 10;
// A body without a part definition is drawn as a 2 by 2 grid square.
constexpr int kBodyWithoutPart = 20;
// Pins connect this far outside the body.
constexpr int kPinReach = 10;
// Texts are measured as 8 units per byte, 10 units high.
constexpr int kCharWidth = 8;
constexpr int kTextHeight = 10;

constexpr int kHitBody = 0x10000;
constexpr int kHitName = 0x20000;
constexpr int kHitReference = 0x40000;

// A component's block is read into the component, and notes whether its
// library section was read already.
struct ComponentReading : ObjectReading<SchComponent> {
  bool libraryRead = false;
};

int textWidth(std::string_view text) {
  const auto length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
  return wrapMul(kCharWidth, length);
}

}  // namespace

SchComponent::SchComponent(const SchComponent& other)
    : SchObject(other),
      name_(other.name_),
      namePos_(other.namePos_),
      reference_(other.reference_),
      referencePos_(other.referencePos_),
      block_(other.block_),
      direction_(other.direction_),
      pinSides_(other.pinSides_),
      partName_(other.partName_),
      note_(other.note_) {
  // The copy gets its own unnamed entry with its own definition, so that it
  // outlives its source and shares nothing with it.
  if (const PartDef* def = other.partDef()) partEntry_.emplace(*def);
}

const PartDef* SchComponent::partDef() const {
  return partEntry_ ? partEntry_->def() : nullptr;
}

void SchComponent::setDirection(int direction) {
  if (direction < 0 || direction > 7) return;
  direction_ = direction;
  computePinSides();
}

void SchComponent::setPartDef(std::unique_ptr<PartDef> def) {
  if (def) {
    if (!partEntry_) partEntry_.emplace();
    partEntry_->setDef(std::move(*def));
  } else {
    partEntry_.reset();
  }
  computePinSides();
}

// ---------------------------------------------------------------------------
// Reading and writing

// The keys of a component, in the editor's order. X, Y and LIB are
// required; the library section with the part definition is not. The
// layer is written but not read.
struct SchComponent::Block : ObjectKeys<ComponentReading> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "L", .take = ignore},
      {.name = "X", .required = true, .take = keepShiftedX<&SchComponent::p1_>},
      {.name = "Y", .required = true, .take = keepShiftedY<&SchComponent::p1_>},
      // Before the library section the editor would look the name up in its
      // loaded part libraries. This program loads none, so the lookup could
      // never find anything and is left out: such a component gets its part
      // from the section that follows, or stays without one.
      {.name = "LIB", .required = true, .take = keepText<&SchComponent::partName_>},
      {.name = "DIR",
       .take = [](Reading& b, std::string_view value) {
         const int d = parseNumber(value);
         if (d >= 0 && d <= 7) b.object.direction_ = d;
         return true;
       }},
      // The block number is checked against the part, so it only sticks
      // after the library section (where the editor puts it).
      {.name = "BLK",
       .take = [](Reading& b, std::string_view value) {
         SchComponent& c = b.object;
         const PartDef* def = c.partDef();
         const int blocks = def ? def->blockCount() : 0;
         const int d = c.partEntry_ ? parseNumber(value) : 0;
         c.block_ = d >= 0 && d < blocks ? d : 0;
         return true;
       }},
      {.name = "N", .take = keepText<&SchComponent::name_>},
      {.name = "NX", .take = keepNumber<&SchComponent::namePos_, &Point::x>},
      {.name = "NY", .take = keepNumber<&SchComponent::namePos_, &Point::y>},
      {.name = "R", .take = keepText<&SchComponent::reference_>},
      {.name = "RX", .take = keepNumber<&SchComponent::referencePos_, &Point::x>},
      {.name = "RY", .take = keepNumber<&SchComponent::referencePos_, &Point::y>},
      {.name = "NOTE", .take = keepText<&SchComponent::note_>},
  };

  static constexpr NestedBlock<Reading> kNested[] = {
      // Only the first library section counts; a second one is skipped whole.
      {.tag = kLibrarySectionTag,
       .read = [](Reading& b, RecordReader& reader) {
         if (b.libraryRead) return skipBlock(reader, kLibrarySectionTag.start());
         SchComponent& c = b.object;
         PartDef def(c.memory_);
         std::string partName;
         if (!readLibrarySection(reader, &def, partName, c.partDetails_)) return false;
         if (!c.partEntry_) c.partEntry_.emplace();
         c.partEntry_->setDef(std::move(def));
         c.partName_.assign(partName);
         b.libraryRead = true;
         return true;
       }},
  };

  static constexpr BlockRules<Reading> kRules{
      .tag = kTag, .colonRule = ColonRule::kLax, .keys = kKeys, .nested = kNested};
};

std::span<const std::string_view> SchComponent::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchComponent::readBlock(RecordReader& reader, const Point* offset, SchDocument*) {
  Block::Reading block{{*this, offset}};
  if (!readByRules<Block::kRules>(reader, block)) return false;
  computePinSides();
  return true;
}

bool SchComponent::writeBlock(RecordWriter& writer, const Point* offset) {
  writer.writeField(kTag.start());
  if (const PartDef* def = partDef()) {
    writeLibrarySection(writer, *def, name_, partName_);
  } else {
    // Without a definition there is no section to write; the reader takes
    // a component block without one. The keys still get a line of their
    // own, as after a section.
    writer.endLine();
  }
  writer.writeInt("L", layer_);
  writer.writeInt("X", unshiftX(p1_.x, offset));
  writer.writeInt("Y", unshiftY(p1_.y, offset));
  writer.writeText("LIB", partName_);
  writer.writeInt("DIR", direction_);
  writer.writeInt("BLK", block_);
  writer.writeText("N", name_);
  writer.writeInt("NX", namePos_.x);
  writer.writeInt("NY", namePos_.y);
  writer.writeText("R", reference_);
  writer.writeInt("RX", referencePos_.x);
  writer.writeInt("RY", referencePos_.y);
  writer.writeText("NOTE", note_);
  endObjectBlock(writer, kTag.end());
  return true;
}

// ---------------------------------------------------------------------------
// Geometry

Point SchComponent::bodySize() const {
  if (!partEntry_) return Point(kBodyWithoutPart, kBodyWithoutPart);
  const PartDef* def = partEntry_->def();
  Point size = def ? Point(wrapMul(def->size().x, kGrid), wrapMul(def->size().y, kGrid))
                   : Point(0, 0);
  if (direction_ & 1) std::swap(size.x, size.y);
  return size;
}

Rect SchComponent::bodyRect() const {
  const Point size = bodySize();
  return Rect::fromOriginExtent(wrapSub(p1_.x, size.x), wrapSub(p1_.y, size.y), size.x, size.y);
}

int SchComponent::effectiveSide(int side) const {
  int s = wrapAdd(side, direction_) & 3;
  if (direction_ & kMirroredBit) {
    if (s == kSideLeft) {
      s = kSideRight;
    } else if (s == kSideRight) {
      s = kSideLeft;
    }
  }
  return s;
}

void SchComponent::computePinSides() {
  pinSides_ = 0;
  const PartDef* def = partDef();
  if (def == nullptr) return;
  for (const PartPin& pin : def->pins()) pinSides_ |= 1 << effectiveSide(pin.side());
}

int SchComponent::pinCount() const {
  const PartDef* def = partDef();
  return def ? def->pinCount() : 0;
}

Point SchComponent::pinPosition(int index) const {
  const PartDef* def = partDef();
  const PartPin* pin = def ? def->pin(index) : nullptr;
  if (pin == nullptr) return Point(0, 0);

  const int side = effectiveSide(pin->side());
  const int along = wrapMul(pin->offset(), kGrid);
  const Point size = bodySize();
  const int px = p1_.x;
  const int py = p1_.y;
  const int d = direction_;
  if (side == kSideLeft || side == kSideRight) {
    const int x = side == kSideLeft ? wrapSub(wrapSub(px, size.x), kPinReach)
                                    : wrapAdd(px, kPinReach);
    // Turned by two quarters (mirrored or not) the pins count from the
    // bottom; otherwise from the top.
    const bool fromBottom = d == 2 || d == 3 || d == 6 || d == 7;
    const int y = fromBottom ? wrapSub(py, along) : wrapAdd(wrapSub(py, size.y), along);
    return Point(x, y);
  }
  const int y = side == kSideTop ? wrapSub(wrapSub(py, size.y), kPinReach)
                                 : wrapAdd(py, kPinReach);
  const bool fromRight = d == 1 || d == 2 || d == 4 || d == 7;
  const int x = fromRight ? wrapSub(px, along) : wrapAdd(wrapSub(px, size.x), along);
  return Point(x, y);
}

Rect SchComponent::area() const {
  Rect r = bodyRect();
  if (pinSides_ & kPinSideLeft) r.left = wrapSub(r.left, kPinReach);
  if (pinSides_ & kPinSideTop) r.top = wrapSub(r.top, kPinReach);
  if (pinSides_ & kPinSideRight) r.right = wrapAdd(r.right, kPinReach);
  if (pinSides_ & kPinSideBottom) r.bottom = wrapAdd(r.bottom, kPinReach);
  return r;
}

int SchComponent::hitTest(const Point& p) const {
  const int px = p1_.x;
  const int py = p1_.y;
  const Rect nameRect =
      Rect::fromOriginExtent(wrapAdd(px, namePos_.x), wrapSub(wrapAdd(py, namePos_.y), kTextHeight),
                             textWidth(name_), kTextHeight);
  const Rect referenceRect = Rect::fromOriginExtent(
      wrapAdd(px, referencePos_.x), wrapSub(wrapAdd(py, referencePos_.y), kTextHeight),
      textWidth(reference_), kTextHeight);
  const int body = hitScore(p, bodyRect());
  const int name = hitScore(p, nameRect);
  const int reference = hitScore(p, referenceRect);
  int result = std::max({body, name, reference});
  if (body > 0) result |= kHitBody;
  if (name > 0) result |= kHitName;
  if (reference > 0) result |= kHitReference;
  return result;
}

int SchComponent::testSelection(const Rect& r) const {
  return bodyRect().intersects(r) ? 3 : 0;
}

int SchComponent::testDragSelection(const Rect& r) const { return testSelection(r); }

void SchComponent::move(int dx, int dy) {
  // A component moves as a whole whatever its selection; its texts are
  // placed relative to p1 and move with it.
  p1_ += Point(dx, dy);
}

void SchComponent::turnQuarter() {
  namePos_ = kDefaultNamePos;
  referencePos_ = kDefaultReferencePos;
  const int d = direction_ & 7;
  direction_ = (d & kMirroredBit) ? ((d - 1) | kMirroredBit) : ((d + 1) & 3);
  // left -> top -> right -> bottom -> left
  pinSides_ = ((pinSides_ << 1) | (pinSides_ >> 3)) & 0xf;
}

void SchComponent::rotate() { turnQuarter(); }

void SchComponent::rotateAt(const Point& c) {
  const Point oldCenter = bodyRect().center();
  turnQuarter();
  const Point size = bodySize();
  p1_.x = wrapAdd(wrapSub(wrapAdd(c.x, c.y), oldCenter.y), size.x / 2);
  p1_.y = wrapAdd(wrapAdd(wrapSub(c.y, c.x), oldCenter.x), size.y / 2);
}

void SchComponent::mirrorAt(int cx) {
  const int twiceHalfWidth = wrapMul(2, bodySize().x / 2);
  const int base = wrapNeg(twiceHalfWidth);
  namePos_.x = wrapSub(wrapSub(base, namePos_.x), textWidth(name_));
  referencePos_.x = wrapSub(wrapSub(base, referencePos_.x), textWidth(reference_));
  p1_.x = wrapAdd(wrapSub(wrapMul(2, cx), p1_.x), twiceHalfWidth);
  direction_ ^= kMirroredBit;
  const int swapped = ((pinSides_ & kPinSideLeft) ? kPinSideRight : 0) |
                      ((pinSides_ & kPinSideRight) ? kPinSideLeft : 0);
  pinSides_ = (pinSides_ & (kPinSideTop | kPinSideBottom)) | swapped;
}

void SchComponent::mirror() { mirrorAt(wrapSub(p1_.x, bodySize().x / 2)); }

}  // namespace vesk
