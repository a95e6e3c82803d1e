#include "schfile/sch_document.h"

#include <algorithm>
#include <string>

#include "schfile/object_factory.h"
#include "schfile/record_reader.h"
#include "schfile/block_fields.h"
#include "schobj/sch_object.h"
#include "schobj/sch_sheet_info.h"

namespace vesk {

namespace {

constexpr std::string_view kFileMagic = "+KOLVA_DATA_V.1.0";
constexpr std::string_view kFileEnd = "-KOLVA_DATA_V.1.0";
constexpr std::string_view kSheetInfoTag = "+SHEETINFO";

// The size of a file that was just opened; the stream is at its start
// again afterwards. 0 when the stream cannot tell, as a pipe cannot.
std::size_t sizeOfOpenedFile(std::FILE* stream) {
  if (std::fseek(stream, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(stream);
  std::rewind(stream);
  return end > 0 ? static_cast<std::size_t>(end) : 0;
}

}  // namespace

SchDocument::SchDocument() = default;
SchDocument::~SchDocument() = default;

void SchDocument::clear() {
  objects_.clear();
  arena_.release();
}

int SchDocument::load(const char* path) {
  clear();
  if (path == nullptr) return kReadFailed;
  std::FILE* stream = std::fopen(path, "r");
  if (stream == nullptr) return kReadFailed;
  // The reader keeps a buffer of its own; without one in the stream too,
  // each of its reads is one read of the file, not a small one into the
  // stream's buffer followed by the rest.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  // The file's size tells how many objects to expect.
  const std::size_t sizeHint = sizeOfOpenedFile(stream);
  RecordReader reader(stream);
  const int result = readFrom(reader, sizeHint);
  std::fclose(stream);
  return result;
}

int SchDocument::read(std::FILE* stream) {
  if (stream == nullptr) return kReadFailed;
  RecordReader reader(stream);
  return readFrom(reader, 0);
}

int SchDocument::readMemory(std::string_view bytes) {
  RecordReader reader(bytes);
  return readFrom(reader, bytes.size());
}

int SchDocument::readFrom(RecordReader& reader, std::size_t sizeHint) {
  // Room for about as many objects as a real file of this size can hold
  // (its shortest blocks, the wires, take some 45 bytes). A big sheet then
  // needs no step-by-step growth of the list, each step a new block that
  // is copied and freed; room that stays unused is never touched, so it
  // costs address space only. A file of still shorter blocks just grows
  // the list as usual. The hint is capped, so that no size, however
  // large, reserves more than a bounded amount.
  constexpr std::size_t kBytesPerObject = 45;
  constexpr std::size_t kLargestHint = std::size_t{1} << 30;
  objects_.reserve(std::min(sizeHint, kLargestHint) / kBytesPerObject);
  std::string_view field;
  if (reader.readFieldView(field) == -1) {
    // No field at all is an empty sheet; a stream that failed is not.
    return reader.hadReadError() ? kReadFailed : kLoaded;
  }
  SchSheetInfo sheetInfo;
  if (field != kFileMagic) return kNotSchematic;
  // A read error mid-file is never taken for the end of the file.
  if (!readBody(reader, sheetInfo) || reader.hadReadError()) return kReadFailed;
  sheetSize_ = Point(sheetInfo.width(), sheetInfo.height());
  return kLoaded;
}

bool SchDocument::readBody(RecordReader& reader, SchSheetInfo& sheetInfo) {
  bool sheetInfoPending = true;
  std::string_view field;
  for (;;) {
    if (reader.readFieldView(field) == -1) return true;
    // An empty field at top level ends the file.
    if (field.empty()) return true;
    if (sheetInfoPending && field == kSheetInfoTag) {
      sheetInfoPending = false;
      if (!sheetInfo.readBlock(reader, nullptr, this)) return false;
      continue;
    }
    if (std::unique_ptr<SchObject> object = makeObjectForTag(field, arena_)) {
      if (!object->readBlock(reader, nullptr, this)) return false;
      if (object->isValid()) {
        objects_.push_back(std::move(object));
      } else {
        arena_.discard(std::move(object));
      }
      continue;
    }
    if (field == kFileEnd) return true;
    if (field[0] != '+') return false;
    if (!skipBlock(reader, field)) return false;
  }
}

}  // namespace vesk
