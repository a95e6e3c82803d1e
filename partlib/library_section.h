// The library section of a component block: "+KOLVA_LIB_V.1.0" ...
// "-KOLVA_LIB_V.1.0".
//
// Every component in a schematic file carries the complete definition of
// its part, so that the file can be read without any library file. The
// section holds one part block (kPartTag) and at most one pattern block
// (kPatternTag), written before the part and accepted after it too. The
// version is
// part of the tag: a section tagged with another version is no library
// section and is skipped by the component reader as an unknown block.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "partlib/part_def.h"
#include "schfile/block_tag.h"

namespace vesk {

class RecordReader;
class RecordWriter;

inline constexpr BlockTag kLibrarySectionTag{"KOLVA_LIB_V.1.0"};

// Reads the section after its start tag into `def` (a new, empty
// definition) and hands back the part's name. A second part or pattern is
// skipped; a pattern that cannot be read is dropped and the part kept.
// False when the section is malformed or cut off; the caller then discards
// the definition. The part's pins and bitmap are kept unless `details`
// leaves them out (partlib/part_def.h).
bool readLibrarySection(RecordReader& reader, PartDef* def, std::string& name,
                        PartDetails details = PartDetails::kKept);

// Writes the section for `def`. The part is named after the component's
// name, else its part name, else "EMB". The line of the component's start
// tag before it is ended first.
bool writeLibrarySection(RecordWriter& writer, const PartDef& def,
                         std::string_view componentName, std::string_view partName);

}  // namespace vesk
