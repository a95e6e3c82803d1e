// SchLine: a straight segment between p1 and p2, the shared base of wires,
// buses, dashed lines and the bus and wire entries.
//
// SchLine owns the segment geometry (hit and rectangle tests, the area of
// the end-point boxes) and the one block reader and writer of all segment
// blocks, parameterised by the block name (the name of the class's kTag).
// The concrete classes only name their block and type; they own nothing
// beyond the base fields.
#pragma once

#include "schobj/sch_object.h"

namespace vesk {

class SchLine : public SchObject {
 public:
  Point refPoint() const override;
  int hitTest(const Point& p) const override;
  int testSelection(const Rect& r) const override;
  int testDragSelection(const Rect& r) const override;
  bool touchesRect(const Rect& r) const override;
  Rect area() const override;
  Rect pointRect() const override;
  // A segment of zero length is not kept.
  bool isValid() const override;

  // Reads the keys X1, Y1, X2, Y2 (all required, strict colon rule) up to
  // the end tag "-<name>".
  virtual bool readLineBlock(RecordReader& reader, const Point* offset, const char* name);
  // Writes "+<name>", L, X1, Y1, X2, Y2, "-<name>" on one line.
  virtual bool writeLineBlock(RecordWriter& writer, const Point* offset, const char* name);
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of a line block
};

// The 5 x 5 box around a segment end that hit tests and areas use: two
// units left of and above q, three units right of and below it.
Rect pointBox(const Point& q);

// Value of a hit on a segment: a fixed rank, below any area hit.
constexpr int kLineHit = 0x10001;

class SchWire final : public SchLine {
 public:
  static constexpr BlockTag kTag{"WIRE"};

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument*) override {
    return readLineBlock(reader, offset, kTag.name().data());
  }
  bool writeBlock(RecordWriter& writer, const Point* offset) override {
    return writeLineBlock(writer, offset, kTag.name().data());
  }
  int typeId() const override { return kTypeWire; }
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchWire>(*this); }
};

class SchBus final : public SchLine {
 public:
  static constexpr BlockTag kTag{"BUS"};

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument*) override {
    return readLineBlock(reader, offset, kTag.name().data());
  }
  bool writeBlock(RecordWriter& writer, const Point* offset) override {
    return writeLineBlock(writer, offset, kTag.name().data());
  }
  int typeId() const override { return kTypeBus; }
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchBus>(*this); }
};

class SchDash final : public SchLine {
 public:
  static constexpr BlockTag kTag{"DASH"};

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument*) override {
    return readLineBlock(reader, offset, kTag.name().data());
  }
  bool writeBlock(RecordWriter& writer, const Point* offset) override {
    return writeLineBlock(writer, offset, kTag.name().data());
  }
  int typeId() const override { return kTypeDash; }
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchDash>(*this); }
};

}  // namespace vesk
