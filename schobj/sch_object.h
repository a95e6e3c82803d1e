// SchObject: the abstract base of every element of a schematic sheet.
//
// Each object reads its own block of the schematic text format (after the
// document reader has consumed the start tag of its class's kTag, a
// BlockTag), writes it back, and answers
// the geometry questions of an editor (hit tests, rectangle tests, areas,
// moving, rotating, mirroring). The virtual operations below stand in a
// fixed order; each has the default behaviour that a class inherits unless
// it overrides it.
//
// Ownership: objects are created by the document reader or by clone() and
// owned through std::unique_ptr by whoever holds them; they are never
// shared. An object lives either on the heap (clone, new) or in the
// ObjectArena of its owner (the objects of a document); deleting it
// destroys it either way and frees only heap memory.
#pragma once

#include <memory>
#include <new>
#include <span>
#include <string_view>

#include "geometry/geometry.h"
#include "schfile/block_tag.h"
#include "schobj/object_list.h"

namespace vesk {

class RecordReader;
class RecordWriter;
class SchDocument;

// Type numbers of the object classes. They are fixed: the parts list picks
// components by the number 8.
enum SchTypeId : int {
  kTypeJunction = 0,
  kTypeEntry = 1,
  kTypeBusEntry = 2,
  kTypeBus = 3,
  kTypeWire = 4,
  kTypeDash = 5,
  kTypeLabel = 6,
  kTypeTag = 7,
  kTypeComponent = 8,
  kTypeSheetInfo = 9,
  kTypeComment = 10,
};

// Selection flag bits: which end of a two-point object is selected. 0 and
// 3 both mean the whole object.
constexpr int kSelectP1 = 1;
constexpr int kSelectP2 = 2;

class SchObject {
 public:
  SchObject() = default;
  virtual ~SchObject();

  // delete runs the (virtual) destructor, then returns the memory to the
  // heap unless the object was made in an arena.
  static void operator delete(SchObject* object, std::destroying_delete_t);

  virtual bool readBlock(RecordReader& reader, const Point* offset, SchDocument* document);
  virtual bool writeBlock(RecordWriter& writer, const Point* offset);
  virtual int typeId() const = 0;
  virtual void setX1(int x) { p1_.x = x; }
  virtual void setY1(int y) { p1_.y = y; }
  virtual void setX2(int x) { p2_.x = x; }
  virtual void setY2(int y) { p2_.y = y; }
  virtual void setP1(const Point& p) { p1_ = p; }
  virtual void setP2(const Point& p) { p2_ = p; }
  virtual int x2() const { return p2_.x; }
  virtual int y2() const { return p2_.y; }
  virtual Point p2() const { return p2_; }
  virtual Point refPoint() const { return p1_; }
  virtual std::unique_ptr<SchObject> clone() const { return nullptr; }
  virtual void move(int dx, int dy);
  virtual void mirror();
  virtual void mirrorAt(int cx);
  virtual void rotate();
  virtual void rotateAt(const Point& c);
  virtual int hitTest(const Point&) const { return 0; }
  virtual void setSelection(int flags) { selection_ = flags; }
  virtual void clearSelection() { selection_ = 0; }
  virtual int testSelection(const Rect&) const { return 0; }
  virtual int testDragSelection(const Rect&) const { return 0; }
  virtual bool touchesRect(const Rect&) const { return false; }
  virtual int pinCount() const { return 0; }
  virtual Point pinPosition(int) const { return Point(-1, -1); }
  virtual Rect area() const { return Rect::fromOriginExtent(-1, -1, 0, 0); }
  virtual Rect pointRect() const { return Rect::fromOriginExtent(-1, -1, 0, 0); }
  virtual bool isValid() const { return true; }
  virtual bool hasText() const { return false; }

  int layer() const { return layer_; }
  void setLayer(int layer) { layer_ = layer; }
  const Point& p1() const { return p1_; }
  int selection() const { return selection_; }

  // Coordinates read from a file are shifted by the offset when one is
  // given; coordinates written have it subtracted.
  static int shiftX(int x, const Point* offset) { return offset ? wrapAdd(x, offset->x) : x; }
  static int shiftY(int y, const Point* offset) { return offset ? wrapAdd(y, offset->y) : y; }
  static int unshiftX(int x, const Point* offset) { return offset ? wrapSub(x, offset->x) : x; }
  static int unshiftY(int y, const Point* offset) { return offset ? wrapSub(y, offset->y) : y; }

 protected:
  SchObject(const SchObject&) = default;
  SchObject& operator=(const SchObject&) = default;

  // Two fields that the editor's object model reserves ahead of the
  // others: zero when made, copied with the object, and never read, since
  // no block of the format carries them. They are kept so that every
  // object has the model's fields, in its order.
  int reserved1_ = 0;
  int reserved2_ = 0;
  int layer_ = 0;
  Point p1_{-1, -1};
  Point p2_{0, 0};
  int selection_ = 0;

 private:
  friend class ObjectArena;
  void markArenaOwned() { inArena_.set = true; }

  // Where the object's memory came from. A copy is a new object whose
  // memory is its own affair, so the mark is never copied.
  struct ArenaMark {
    bool set = false;
    ArenaMark() = default;
    ArenaMark(const ArenaMark&) {}
    ArenaMark& operator=(const ArenaMark&) { return *this; }
  };
  ArenaMark inArena_;
};

// Writes the fields common to every drawing object's block: the start tag
// and the layer key "L". The class then writes its own keys and calls
// endObjectBlock.
void beginObjectBlock(RecordWriter& writer, std::string_view startTag, int layer);
void endObjectBlock(RecordWriter& writer, std::string_view endTag);

}  // namespace vesk
