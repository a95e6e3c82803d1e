#include "schfile/sch_document.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "schfile/block_reader.h"
#include "schfile/object_factory.h"
#include "schfile/record_reader.h"
#include "schobj/sch_component.h"
#include "schobj/sch_object.h"
#include "schobj/sch_sheet_info.h"

namespace vesk {

namespace {

// A schematic file is one block: its start tag is the file's magic.
constexpr BlockTag kFileTag{"KOLVA_DATA_V.1.0"};

// The size of a file that was just opened; the stream is at its start
// again afterwards. 0 when the stream cannot tell, as a pipe cannot.
std::size_t sizeOfOpenedFile(std::FILE* stream) {
  if (std::fseek(stream, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(stream);
  std::rewind(stream);
  return end > 0 ? static_cast<std::size_t>(end) : 0;
}

// The problem of a file that failed as a whole, before or beside its
// blocks.
ReadProblem fileProblem(ReadProblem::Kind kind, int line = 0, std::string_view found = {},
                        int systemError = 0) {
  ReadProblem problem;
  problem.kind = kind;
  problem.line = line;
  problem.found = ReadProblem::cut(found);
  problem.systemError = systemError;
  return problem;
}

}  // namespace

SchDocument::SchDocument() : objects_(arena_.resource()) {}
SchDocument::SchDocument(std::pmr::memory_resource* memory)
    : arena_(memory), objects_(arena_.resource()) {}
SchDocument::~SchDocument() = default;

void SchDocument::clear() {
  // The list's own room lies in the arena too: it goes before the arena's
  // blocks do.
  objects_.clear();
  objects_.shrink_to_fit();
  arena_.release();
  problem_ = ReadProblem();
}

int SchDocument::load(const char* path) {
  clear();
  if (path == nullptr) {
    problem_ = fileProblem(ReadProblem::Kind::kCannotOpen, 0, {}, ENOENT);
    return kReadFailed;
  }
  errno = 0;
  std::FILE* stream = std::fopen(path, "r");
  if (stream == nullptr) {
    int error = errno;
    // Windows refuses to open a folder as a file, with "access denied";
    // that it is a folder is what the user needs to hear.
    std::error_code ignored;
    if (error == EACCES && std::filesystem::is_directory(path, ignored)) error = EISDIR;
    problem_ = fileProblem(ReadProblem::Kind::kCannotOpen, 0, {}, error);
    return kReadFailed;
  }
  // The reader keeps a buffer of its own; without one in the stream too,
  // each of its reads is one read of the file, not a small one into the
  // stream's buffer followed by the rest.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  // The file's size tells how many objects to expect, when they are kept.
  const std::size_t sizeHint = keepsObjects_ ? sizeOfOpenedFile(stream) : 0;
  RecordReader reader(stream);
  const int result = readFrom(reader, sizeHint);
  std::fclose(stream);
  // POSIX opens a folder and fails its first read: as on Windows, the
  // folder is a file that cannot be opened.
  if (problem_.kind == ReadProblem::Kind::kReadError && problem_.systemError == EISDIR) {
    problem_.kind = ReadProblem::Kind::kCannotOpen;
  }
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
  // Room for about as many objects as a file of this size can hold (its
  // shortest blocks, the wires, take some 45 bytes), so that the list of a
  // big sheet does not grow step by step, leaving each old copy behind in
  // the arena. Room never used is never touched; the hint is capped.
  problem_ = ReadProblem();
  constexpr std::size_t kBytesPerObject = 45;
  constexpr std::size_t kLargestHint = std::size_t{1} << 30;
  if (keepsObjects_) objects_.reserve(std::min(sizeHint, kLargestHint) / kBytesPerObject);
  std::string_view field;
  if (reader.readFieldView(field) == -1) {
    // No field at all is an empty sheet; a stream that failed is not.
    if (!reader.hadReadError()) return kLoaded;
    problem_ = fileProblem(ReadProblem::Kind::kReadError, 0, {}, reader.readErrorNumber());
    return kReadFailed;
  }
  SchSheetInfo sheetInfo;
  if (field != kFileTag.start()) {
    problem_ = fileProblem(ReadProblem::Kind::kNotSchematic, reader.lastFieldLine(), field);
    return kNotSchematic;
  }
  const bool bodyRead = readBody(reader, sheetInfo);
  // A read error mid-file is never taken for the end of the file.
  if (reader.hadReadError()) {
    problem_ = fileProblem(ReadProblem::Kind::kReadError, reader.line(), {},
                           reader.readErrorNumber());
    return kReadFailed;
  }
  if (!bodyRead) {
    problem_ = reader.problem();
    return kReadFailed;
  }
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
    if (sheetInfoPending && field == SchSheetInfo::kTag.start()) {
      sheetInfoPending = false;
      if (!sheetInfo.readBlock(reader, nullptr, this)) return false;
      continue;
    }
    if (std::unique_ptr<SchObject> object = makeObjectForTag(field, arena_)) {
      if (partDetails_ != PartDetails::kKept && object->typeId() == kTypeComponent) {
        static_cast<SchComponent&>(*object).setPartDetails(partDetails_);
      }
      if (!object->readBlock(reader, nullptr, this)) return false;
      keep(std::move(object));
      continue;
    }
    if (field == kFileTag.end()) return true;
    if (field[0] != '+') {
      return reader.fail(fileProblem(ReadProblem::Kind::kStrayField, reader.lastFieldLine(), field));
    }
    if (!skipBlock(reader, field)) return false;
  }
}

void SchDocument::keep(std::unique_ptr<SchObject> object) {
  // An object that is not valid (a wire of no length) is dropped.
  const bool valid = object->isValid();
  if (valid && onComponentKept_ && object->typeId() == kTypeComponent) {
    onComponentKept_(static_cast<const SchComponent&>(*object));
  }
  if (keepsObjects_) {
    if (valid) objects_.push_back(std::move(object));
    return;
  }
  // Nothing else lives in the arena when objects are not kept: the next
  // object takes the same, still cached, memory.
  object.reset();
  arena_.release();
}

}  // namespace vesk
