// SchDocument: one schematic file in memory.
//
// Holds the sheet's objects in file order and the sheet size. load() and
// read() parse a whole file: the first field must be "+KOLVA_DATA_V.1.0",
// then come top-level blocks, each turned into an object of its class by
// the start-tag table (object_factory.h); unknown blocks are skipped, and
// "-KOLVA_DATA_V.1.0" or the end of the input ends the file.
//
// Whoever makes something of the components (the parts list) can have
// each one handed over as it is read, while its bytes are still in the
// cache, and can tell the document to keep no objects at all: the read
// then needs the memory of one object at a time instead of the sheet's.
//
// The document owns its objects, which live in its arena with everything
// they hold; clear() and the destructor release them. The arena takes its
// blocks from the memory the document was made with (the C++ heap unless
// a conversion run hands its own). Not synchronized: one thread reads a
// document and drops it.
//
// When a read fails, problem() tells why: the first field, block, key or
// tag at fault and its line (schfile/read_problem.h).
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <functional>
#include <memory_resource>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/geometry.h"
#include "memory/object_arena.h"
#include "partlib/part_def.h"
#include "schfile/read_problem.h"
#include "schobj/object_list.h"

namespace vesk {

class RecordReader;
class SchComponent;
class SchObject;
class SchSheetInfo;

class SchDocument {
 public:
  // Results of load() and read().
  enum Result : int {
    kLoaded = 0,
    kReadFailed = 1,  // cannot open, cannot read, or a malformed block
    kNotSchematic = 2,  // the first field is not the file magic
  };

  SchDocument();
  explicit SchDocument(std::pmr::memory_resource* memory);
  virtual ~SchDocument();

  SchDocument(const SchDocument&) = delete;
  SchDocument& operator=(const SchDocument&) = delete;

  void clear();
  // Opens `path` in text mode and reads it; returns 0, 1 or 2.
  int load(const char* path);
  // Reads a whole schematic file from an open stream (not closed here).
  int read(std::FILE* stream);
  // The same from bytes in memory.
  int readMemory(std::string_view bytes);
  // The top-level block loop; true on success.
  bool readBody(RecordReader& reader, SchSheetInfo& sheetInfo);

  // Called with each component the reads keep, as it is kept (a component
  // of a read that fails later included); none by default.
  void onComponentKept(std::function<void(const SchComponent&)> callback) {
    onComponentKept_ = std::move(callback);
  }
  // Whether reads keep the objects (they do by default). A reader that only
  // wants the components handed over turns it off: each object is then
  // dropped once it has been handed over, objects() stays empty, and a
  // read needs the memory of one object at a time, which stays in the
  // cache, instead of the memory of the whole sheet.
  void setKeepsObjects(bool keepsObjects) { keepsObjects_ = keepsObjects; }
  // What reads keep of each component's part: all of it by default. The
  // parts list has the pins and bitmaps left out (partlib/part_def.h),
  // which are most of a design's bytes; every block is checked alike.
  void setPartDetails(PartDetails details) { partDetails_ = details; }

  const ObjectList& objects() const { return objects_; }
  const Point& sheetSize() const { return sheetSize_; }
  // Why the last read failed; kind kNone after a read that did not.
  const ReadProblem& problem() const { return problem_; }

 private:
  // `sizeHint`: the bytes to be read, when known (else 0).
  int readFrom(RecordReader& reader, std::size_t sizeHint);
  // Hands a complete object over and keeps it, or drops it.
  void keep(std::unique_ptr<SchObject> object);

  // Declared before the objects, which live in it: destroyed after them.
  ObjectArena arena_;
  ObjectList objects_;
  std::function<void(const SchComponent&)> onComponentKept_;
  bool keepsObjects_ = true;
  PartDetails partDetails_ = PartDetails::kKept;
  Point sheetSize_{1500, 1000};
  ReadProblem problem_;
};

}  // namespace vesk
