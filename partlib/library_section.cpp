#include "partlib/library_section.h"

#include <optional>

#include "partlib/part_def.h"
#include "schfile/record_writer.h"
#include "schfile/block_fields.h"

namespace vesk {

namespace {

constexpr std::string_view kPatternTag = "+PTN";
constexpr std::string_view kPartTag = "+COMP";
constexpr std::string_view kUnnamedPart = "EMB";

}  // namespace

bool readLibrarySection(RecordReader& reader, PartDef* def, std::string& name) {
  if (def == nullptr) return false;
  std::optional<PartPattern> pattern;
  bool partRead = false;
  std::string patternName;  // read for completeness; a section's pattern is always its part's

  BlockFields section(reader, kLibrarySectionEnd, ColonRule::kLax);
  section.claimNested(true);
  for (;;) {
    const BlockFields::Item item = section.next();
    if (item == BlockFields::kEnded) break;
    // Key fields at section level are ignored; so are start tags other
    // than the two below, whose inner fields are then read at this level
    // one by one (their end tag fails the section).
    if (item != BlockFields::kNested) continue;
    if (section.tag() == kPatternTag) {
      if (pattern) {
        if (!section.skipNested()) return false;
        continue;
      }
      PartPattern candidate;
      if (readPatternBlock(reader, candidate)) pattern = std::move(candidate);
    } else if (section.tag() == kPartTag) {
      if (partRead) {
        if (!section.skipNested()) return false;
        continue;
      }
      if (!readPartBlock(reader, *def, name, patternName)) return false;
      partRead = true;
    }
  }
  if (section.end() != BlockFields::kOwnEndTag || !partRead) return false;
  if (pattern) def->setPattern(std::move(*pattern));
  return true;
}

bool writeLibrarySection(RecordWriter& writer, const PartDef& def,
                         std::string_view componentName, std::string_view partName) {
  std::string name(!componentName.empty() ? componentName
                   : !partName.empty()    ? partName
                                          : kUnnamedPart);
  writer.endLine();
  writer.writeField(kLibrarySectionTag);
  writer.endLine();
  writePartBlock(writer, def, name);
  writer.writeField(kLibrarySectionEnd);
  writer.endLine();
  return true;
}

}  // namespace vesk
