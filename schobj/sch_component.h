// SchComponent: a placed part on a schematic sheet.
//
// A component shows one block of a library part at a position, in one of
// eight orientations, labelled with a name (its value, such as 10k), a
// reference designator (R5) and a free note. It is the object a parts list
// is made of.
//
// The component is self-contained: its block (kTag) carries a library
// section with the complete part definition, which the component owns
// through its PartEntry. Copies (clone) are deep and share nothing.
//
// Geometry: p1 is the body's lower right corner (largest x and y, y growing
// downwards); the body extends towards smaller x and y by bodySize. Pins
// sit 10 units outside the body on their side. All arithmetic wraps in 32
// bits, since positions come from files.
#pragma once

#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>

#include "partlib/part_def.h"
#include "partlib/part_entry.h"
#include "schobj/sch_object.h"

namespace vesk {

// Bits of pinSides.
constexpr int kPinSideLeft = 1;
constexpr int kPinSideTop = 2;
constexpr int kPinSideRight = 4;
constexpr int kPinSideBottom = 8;

class SchComponent : public SchObject {
 public:
  static constexpr BlockTag kTag{"COMPONENT"};
  static constexpr Point kDefaultNamePos{2, 20};
  static constexpr Point kDefaultReferencePos{2, 10};
  // Orientation: bits 0 and 1 count quarter turns, bit 2 means mirrored.
  static constexpr int kMirroredBit = 4;

  SchComponent() = default;
  // A component whose part definition, once read, keeps its pins and
  // bitmap in `memory` (a document's arena). A copy keeps its own on the
  // C++ heap.
  explicit SchComponent(std::pmr::memory_resource* memory) : memory_(memory) {}
  SchComponent(const SchComponent& other);
  SchComponent& operator=(const SchComponent&) = delete;

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document) override;
  bool writeBlock(RecordWriter& writer, const Point* offset) override;
  int typeId() const override { return kTypeComponent; }
  void setX2(int) override {}
  void setY2(int) override {}
  void setP2(const Point&) override {}
  std::unique_ptr<SchObject> clone() const override {
    return std::make_unique<SchComponent>(*this);
  }
  void move(int dx, int dy) override;
  void mirror() override;
  void mirrorAt(int cx) override;
  void rotate() override;
  void rotateAt(const Point& c) override;
  int hitTest(const Point& p) const override;
  int testSelection(const Rect& r) const override;
  int testDragSelection(const Rect& r) const override;
  bool touchesRect(const Rect&) const override { return true; }
  int pinCount() const override;
  Point pinPosition(int index) const override;
  Rect area() const override;
  Rect pointRect() const override { return bodyRect(); }
  bool isValid() const override { return true; }
  bool hasText() const override { return true; }

  // Body width and height in sheet units for the current orientation.
  Point bodySize() const;
  Rect bodyRect() const;

  std::string_view name() const { return name_; }
  const Point& namePos() const { return namePos_; }
  std::string_view reference() const { return reference_; }
  const Point& referencePos() const { return referencePos_; }
  int block() const { return block_; }
  int direction() const { return direction_; }
  int pinSides() const { return pinSides_; }
  const PartEntry* partEntry() const { return partEntry_ ? &*partEntry_ : nullptr; }
  // The part definition, or null when the component has none.
  const PartDef* partDef() const;
  std::string_view partName() const { return partName_; }
  std::string_view note() const { return note_; }

  void setName(std::string_view name) { name_.assign(name); }
  void setReference(std::string_view reference) { reference_.assign(reference); }
  void setNote(std::string_view note) { note_.assign(note); }
  void setPartName(std::string_view partName) { partName_.assign(partName); }
  void setNamePos(const Point& p) { namePos_ = p; }
  void setReferencePos(const Point& p) { referencePos_ = p; }
  // Only 0 to 7 are stored; other values are ignored.
  void setDirection(int direction);
  void setBlock(int block) { block_ = block; }
  // Gives the component its own definition (none with null) and works the
  // pin sides out anew.
  void setPartDef(std::unique_ptr<PartDef> def);
  // What readBlock keeps of the part in its library section: all of it by
  // default; a reader that only lists the component leaves out the pins
  // and the bitmap (partlib/part_def.h).
  void setPartDetails(PartDetails details) { partDetails_ = details; }
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of the component block

  // The side (0 left, 1 top, 2 right, 3 bottom) that pin side `side` faces
  // in the current orientation.
  int effectiveSide(int side) const;
  void computePinSides();
  void turnQuarter();

  std::string name_;
  Point namePos_ = kDefaultNamePos;
  std::string reference_;
  Point referencePos_ = kDefaultReferencePos;
  int block_ = 0;
  int direction_ = 0;
  int pinSides_ = 0;
  // In place rather than behind a pointer: see PartEntry.
  std::optional<PartEntry> partEntry_;
  std::string partName_;
  std::string note_;
  std::pmr::memory_resource* memory_ = std::pmr::new_delete_resource();
  PartDetails partDetails_ = PartDetails::kKept;
};

}  // namespace vesk
