#include "schfile/block_reader.h"

namespace vesk {

bool failBlock(RecordReader& reader, ReadProblem::Kind kind, std::string_view name,
               int blockLine, std::string_view key, std::string_view found) {
  // Where the input ended there is no field to point at: the block's
  // start is what the user can look for.
  const bool atEnd = kind == ReadProblem::Kind::kEndOfInput || kind == ReadProblem::Kind::kUnclosedBlock;
  return reader.fail({.kind = kind,
                      .line = atEnd ? blockLine : reader.lastFieldLine(),
                      .blockLine = blockLine,
                      .block = std::string(name),
                      .key = std::string(key),
                      .found = ReadProblem::cut(found)});
}

bool skipBlock(RecordReader& reader, std::string_view startTag) {
  const int blockLine = reader.lastFieldLine();
  // The end tag: the start tag with '-' for its '+'. It is made before
  // reading on, since `startTag` may view the reader's own field.
  std::string endTag(startTag);
  if (!endTag.empty()) endTag[0] = '-';
  if (reader.skipTo(endTag) == 0) return true;
  if (reader.escapeCutShort()) {
    return failBlock(reader, ReadProblem::Kind::kEscapeCutShort, std::string_view(endTag).substr(1),
                     blockLine);
  }
  return failBlock(reader, ReadProblem::Kind::kUnclosedBlock, std::string_view(endTag).substr(1),
                   blockLine);
}

}  // namespace vesk
