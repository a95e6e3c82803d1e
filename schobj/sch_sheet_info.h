// SchSheetInfo: the sheet-wide settings of one schematic file.
//
// The "+SHEETINFO" block carries the sheet size, the layer being edited and
// the mask of visible layers. The document reader fills one SchSheetInfo
// per file and takes its size over; the object is never kept in the
// document, never copied, and ignores every geometry operation.
#pragma once

#include "schobj/sch_object.h"

namespace vesk {

class SchSheetInfo : public SchObject {
 public:
  static constexpr BlockTag kTag{"SHEETINFO"};
  static constexpr int kDefaultWidth = 1500;
  static constexpr int kDefaultHeight = 1000;

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document) override;
  bool writeBlock(RecordWriter& writer, const Point* offset) override;
  int typeId() const override { return kTypeSheetInfo; }
  void setX1(int) override {}
  void setY1(int) override {}
  void setX2(int) override {}
  void setY2(int) override {}
  void setP1(const Point&) override {}
  void setP2(const Point&) override {}
  Point refPoint() const override { return Point(width_, height_); }
  void move(int, int) override {}
  void mirror() override {}
  void mirrorAt(int) override {}
  void rotate() override {}
  void rotateAt(const Point&) override {}
  void setSelection(int) override {}
  void clearSelection() override {}
  Rect area() const override { return Rect::fromOriginExtent(0, 0, width_, height_); }

  int width() const { return width_; }
  int height() const { return height_; }
  int visibleLayers() const { return visibleLayers_; }
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of the sheet info block

  int width_ = kDefaultWidth;
  int height_ = kDefaultHeight;
  int editLayer_ = 0;
  int visibleLayers_ = 0xff;
};

}  // namespace vesk
