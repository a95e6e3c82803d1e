// SchLabel, SchTag, SchComment: the objects that carry a text at a point.
//
// A label names the net at its base point p1; its text runs to the right,
// or upwards when vertical. A tag is a text in an outline with a connection
// point at each end: p1 and the far end p2, which is computed from the text
// length and never read from a file. A comment is free text in a font of
// its own. Each object owns its text (a byte string in the file's code
// page; lengths count bytes).
#pragma once

#include <cstddef>
#include <string>

#include "schobj/sch_object.h"

namespace vesk {

class SchLabel final : public SchObject {
 public:
  static constexpr BlockTag kTag{"LABEL"};

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document) override;
  bool writeBlock(RecordWriter& writer, const Point* offset) override;
  int typeId() const override { return kTypeLabel; }
  void setX2(int) override {}
  void setY2(int) override {}
  void setP2(const Point&) override {}
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchLabel>(*this); }
  void mirror() override {}
  // Turns the text about its own base point (a copy of it: rotateAt writes
  // p1 while it reads the centre).
  void rotate() override { rotateAt(Point(p1_)); }
  void rotateAt(const Point& c) override;
  int hitTest(const Point& p) const override;
  int testSelection(const Rect& r) const override;
  int testDragSelection(const Rect& r) const override;
  bool touchesRect(const Rect& r) const override;
  Rect area() const override;
  Rect pointRect() const override;
  // A label without text is not kept.
  bool isValid() const override { return !text_.empty(); }
  bool hasText() const override { return true; }

  const std::string& text() const { return text_; }
  bool horizontal() const { return horizontal_; }
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of the label block

  std::string text_;
  bool horizontal_ = true;
};

class SchTag final : public SchObject {
 public:
  static constexpr BlockTag kTag{"TAG"};
  // The length of a tag whose text has `bytes` bytes: a table for short
  // texts, 8 units per byte plus room for the outline beyond 12 bytes,
  // rounded up to the grid of 10.
  static int lengthForText(std::size_t bytes);

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document) override;
  bool writeBlock(RecordWriter& writer, const Point* offset) override;
  int typeId() const override { return kTypeTag; }
  void setX2(int) override {}
  void setY2(int) override {}
  void setP2(const Point&) override {}
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchTag>(*this); }
  void mirrorAt(int cx) override;
  // Turns the tag about the centre of its area.
  void rotate() override;
  void rotateAt(const Point& c) override;
  int hitTest(const Point& p) const override;
  int testSelection(const Rect& r) const override;
  int testDragSelection(const Rect& r) const override;
  bool touchesRect(const Rect& r) const override;
  int pinCount() const override { return 2; }
  Point pinPosition(int index) const override { return index == 0 ? p1_ : p2_; }
  Rect area() const override;
  Rect pointRect() const override { return Rect::fromCorners(p1_, p2_); }
  bool hasText() const override { return true; }

  const std::string& text() const { return text_; }
  bool horizontal() const { return horizontal_; }
  // 0 and 3 look the same in a mirror image; 1 and 2 are mirror images of
  // each other.
  int shape() const { return shape_; }
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of the tag block

  // Swaps the shapes that are mirror images of each other, 1 and 2.
  void mirrorShape();
  // Keeps p1 at the left end of a horizontal tag, the lower end of a
  // vertical one.
  void normalizeEnds();

  std::string text_;
  bool horizontal_ = true;
  int shape_ = 0;
};

class SchComment final : public SchObject {
 public:
  static constexpr BlockTag kTag{"COMMENT"};
  static constexpr int kMinFontSize = 4;
  static constexpr int kMaxFontSize = 80;
  static constexpr int kDefaultFontSize = 12;

  bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document) override;
  bool writeBlock(RecordWriter& writer, const Point* offset) override;
  int typeId() const override { return kTypeComment; }
  void setX2(int) override {}
  void setY2(int) override {}
  void setP2(const Point&) override {}
  std::unique_ptr<SchObject> clone() const override { return std::make_unique<SchComment>(*this); }
  void mirror() override {}
  void rotate() override {}
  int hitTest(const Point& p) const override;
  int testSelection(const Rect& r) const override;
  int testDragSelection(const Rect& r) const override;
  // Until the text has been measured every rectangle may show it.
  bool touchesRect(const Rect& r) const override;
  // The measured text box, or a 20 x 10 box above the base point while
  // the text has not been measured.
  Rect area() const override;
  Rect pointRect() const override { return Rect::fromCorners(p1_, p1_); }
  // A comment without text is not kept.
  bool isValid() const override { return !text_.empty(); }
  bool hasText() const override { return true; }

  const std::string& text() const { return text_; }
  const std::string& fontName() const { return fontName_; }
  int fontSize() const { return fontSize_; }
  bool bold() const { return bold_; }
  bool italic() const { return italic_; }
  bool underline() const { return underline_; }
  bool strikeOut() const { return strikeOut_; }
  // Clamped to 4 ... 80; the measured size no longer holds.
  void setFontSize(int size);

  // The measured size of the text: whatever draws the comment measures it
  // in its font and stores it here, for area() to use until the font size
  // changes. Meaningful only while extentValid().
  bool extentValid() const { return extentValid_; }
  int ascent() const { return ascent_; }
  const Point& extent() const { return extent_; }
  void setMeasuredExtent(int ascent, const Point& extent);
  // The keys of the block in its reading table's order, the writer's too.
  static std::span<const std::string_view> blockKeys();

 private:
  struct Block;  // the keys of the comment block

  std::string text_;
  bool extentValid_ = false;
  int ascent_ = 0;
  Point extent_{0, 0};
  std::string fontName_;
  int fontSize_ = kDefaultFontSize;
  bool bold_ = false;
  bool italic_ = false;
  bool underline_ = false;
  bool strikeOut_ = false;
};

}  // namespace vesk
