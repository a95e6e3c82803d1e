#include "partlib/library_section.h"

#include <optional>

#include "partlib/part_def.h"
#include "schfile/block_reader.h"
#include "schfile/record_writer.h"

namespace vesk {

namespace {

constexpr std::string_view kUnnamedPart = "EMB";

struct SectionReading {
  PartDef& def;
  std::string& name;
  PartDetails details;
  std::optional<PartPattern> pattern;
  bool partRead = false;
  std::string patternName;  // read for completeness; a section's pattern is always its part's
};

// The section has no keys of its own: key fields at its level are
// ignored, and so are start tags other than the two below, one field at a
// time (the end tag of such a block then fails the section).
constexpr NestedBlock<SectionReading> kSectionNested[] = {
    // The first pattern that reads well is kept; one that fails is
    // dropped (the part stays), and a later one is read in its place.
    {.tag = kPatternTag,
     .read = [](SectionReading& r, RecordReader& reader) {
       if (r.pattern) return skipBlock(reader, kPatternTag.start());
       PartPattern candidate(r.def.memory());
       if (readPatternBlock(reader, candidate, r.details)) {
         r.pattern = std::move(candidate);
       } else {
         reader.forgetProblem();
       }
       return true;
     }},
    {.tag = kPartTag,
     .read = [](SectionReading& r, RecordReader& reader) {
       if (r.partRead) return skipBlock(reader, kPartTag.start());
       r.partRead = readPartBlock(reader, r.def, r.name, r.patternName, r.details);
       return r.partRead;
     }},
};

constexpr BlockRules<SectionReading> kSection{
    .tag = kLibrarySectionTag,
    .colonRule = ColonRule::kLax,
    .nested = kSectionNested,
    .skipsUnknownBlocks = false,
    .unusable = [](const SectionReading& r) {
      if (r.partRead) return BlockFault{};
      return BlockFault{ReadProblem::Kind::kMissingBlock, kPartTag.start()};
    }};

}  // namespace

bool readLibrarySection(RecordReader& reader, PartDef* def, std::string& name,
                        PartDetails details) {
  if (def == nullptr) return false;
  SectionReading reading{*def, name, details, std::nullopt, false, {}};
  if (!readByRules<kSection>(reader, reading)) return false;
  if (reading.pattern) def->setPattern(std::move(*reading.pattern));
  return true;
}

bool writeLibrarySection(RecordWriter& writer, const PartDef& def,
                         std::string_view componentName, std::string_view partName) {
  std::string name(!componentName.empty() ? componentName
                   : !partName.empty()    ? partName
                                          : kUnnamedPart);
  writer.endLine();
  writer.writeField(kLibrarySectionTag.start());
  writer.endLine();
  writePartBlock(writer, def, name);
  writer.writeField(kLibrarySectionTag.end());
  writer.endLine();
  return true;
}

}  // namespace vesk
