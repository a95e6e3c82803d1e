// SchJunction, SchEntry, SchBusEntry: the connection marks of a sheet.
//
// A junction is a single point (p1) where wires join; p2 means nothing for
// it. An entry is the short diagonal stroke where a wire (SchEntry) or a
// bus (SchBusEntry) meets a bus: 10 units across and 10 high, fixed by its
// lower end p1 and a direction (1 when the upper end p2 lies to the right,
// 0 when to the left). Entries are segments and reuse the SchLine reader,
// writer and tests. The objects own nothing beyond their base fields.
#pragma once

#include "schobj/sch_line.h"

namespace vesk {

class SchJunction final : public SchObject {
 public:
  static constexpr BlockTag kTag{"JUNCTION"};

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document) override;
  bool writeBlock(RecordWriter& writer, const Point* offset) override;
  int typeId() const override { return kTypeJunction; }
  void setX2(int) override {}
  void setY2(int) override {}
  void setP2(const Point&) override {}
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchJunction>(*this); }
  void mirror() override {}
  void rotate() override {}
  int hitTest(const Point& p) const override;
  int testSelection(const Rect& r) const override;
  int testDragSelection(const Rect& r) const override;
  bool touchesRect(const Rect& r) const override;
  Rect area() const override;
  Rect pointRect() const override;
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of the junction block
};

class SchEntry : public SchLine {
 public:
  static constexpr BlockTag kTag{"ENTRY"};
  // Width and height of every entry.
  static constexpr int kSize = 10;

  SchEntry();

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument*) override {
    return readEntryBlock(reader, offset, kTag.name().data());
  }
  // Puts the lower end first (changing the object) before writing.
  bool writeBlock(RecordWriter& writer, const Point* offset) override {
    return writeEntryBlock(writer, offset, kTag.name().data());
  }
  int typeId() const override { return kTypeEntry; }
  // Moving the lower end carries the upper end along, keeping the shape.
  void setX1(int x) override;
  void setY1(int y) override;
  void setP1(const Point& p) override;
  void setX2(int) override {}
  void setY2(int) override {}
  void setP2(const Point&) override {}
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchEntry>(*this); }
  int testDragSelection(const Rect& r) const override;

 protected:
  bool readEntryBlock(RecordReader& reader, const Point* offset, const char* name);
  bool writeEntryBlock(RecordWriter& writer, const Point* offset, const char* name);

 private:
  // Puts the lower end (the larger y) into p1 and returns the direction.
  int normalizeEnds();
  // Places p2 10 units above p1, to the right for direction 1, else left.
  void applyDirection(int direction);
};

class SchBusEntry final : public SchEntry {
 public:
  static constexpr BlockTag kTag{"BENTRY"};

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument*) override {
    return readEntryBlock(reader, offset, kTag.name().data());
  }
  bool writeBlock(RecordWriter& writer, const Point* offset) override {
    return writeEntryBlock(writer, offset, kTag.name().data());
  }
  int typeId() const override { return kTypeBusEntry; }
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchBusEntry>(*this); }
};

}  // namespace vesk
