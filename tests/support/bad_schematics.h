// Schematic files broken in each of the ways a file can fail, one a row,
// with what the reader must tell of each: the kind of problem, the line
// the user is sent to, the block, key or field named, and the reason the
// command line gives. The document reader's tests and the tests of
// `vesk -F` read the same rows.
#pragma once

#include <string>
#include <vector>

#include "schfile/read_problem.h"

namespace vesk::test {

struct BadSchematic {
  const char* title;
  std::string bytes;
  int result;  // of SchDocument::load and read: 1, or 2 for no schematic at all
  ReadProblem::Kind kind;
  int line;       // the line shown to the user
  int blockLine;  // the line on which the block named began (0: none)
  std::string block;
  std::string key;
  std::string found;
  // The reason `vesk -F` gives after "vesk: FILE:LINE: ".
  std::string reason;
};

// Lines 1 and 2 of every file below.
inline std::string badFileStart(const char* lineEnd = "\r\n") {
  return std::string("+KOLVA_DATA_V.1.0") + lineEnd +
         "+SHEETINFO,EL:0,VL:255,W:1500,H:1000,-SHEETINFO" + lineEnd;
}

// A well-formed component of nine lines.
inline std::string goodComponent(const std::string& reference, const char* lineEnd = "\r\n") {
  const std::string lines[] = {
      "+COMPONENT", "+KOLVA_LIB_V.1.0", "+COMP,N:RESISTOR", "X:3,Y:1,B:1", "R:R",
      "+PIN,N:1,L:L0,T:,M:1,-PIN", "-COMP", "-KOLVA_LIB_V.1.0",
      "L:0,X:250,Y:100,LIB:RESISTOR,DIR:0,BLK:0,N:10k,NX:2,NY:20,R:" + reference +
          ",RX:2,RY:10,NOTE:,-COMPONENT"};
  std::string text;
  for (const std::string& line : lines) text += line + lineEnd;
  return text;
}

// A library section (lines 4 on) with `part` as its part's lines, in a
// component that begins on line 3.
inline std::string componentWithPart(const std::string& part) {
  return badFileStart() + "+COMPONENT\r\n+KOLVA_LIB_V.1.0\r\n" + part +
         "-KOLVA_LIB_V.1.0\r\nL:0,X:250,Y:100,LIB:R,R:R9,-COMPONENT\r\n-KOLVA_DATA_V.1.0\r\n";
}

inline std::vector<BadSchematic> badSchematics() {
  using Kind = ReadProblem::Kind;
  // Lines 1 to 902, with LF line ends alone.
  std::string many = badFileStart("\n");
  for (int i = 1; i <= 100; ++i) many += goodComponent("R" + std::to_string(i), "\n");
  return {
      {"required key missing", badFileStart() + goodComponent("R1") +
           "+COMPONENT\r\nX:1,Y:2,N:1k,R:R2\r\n-COMPONENT\r\n-KOLVA_DATA_V.1.0\r\n",
       1, Kind::kMissingKey, 14, 12, "COMPONENT", "LIB", "",
       "block COMPONENT ends without its required key LIB"},
      {"required key missing far down, LF line ends",
       many + "+COMPONENT\nX:1,Y:2,N:1k\n-COMPONENT\n-KOLVA_DATA_V.1.0\n", 1,
       Kind::kMissingKey, 905, 903, "COMPONENT", "LIB", "",
       "block COMPONENT ends without its required key LIB"},
      {"wrong end tag", badFileStart() + "+LABEL,L:0,X:1,Y:2,D:1,S:AB\r\n-TEXT\r\n", 1,
       Kind::kWrongEndTag, 4, 3, "LABEL", "", "-TEXT",
       "\"-TEXT\" ends block LABEL, whose end tag is -LABEL"},
      {"wrong end tag of a pin", componentWithPart("+COMP,N:R,X:3,Y:1,B:1\r\n+PIN,N:1,L:L0,-COMP\r\n"),
       1, Kind::kWrongEndTag, 6, 6, "PIN", "", "-COMP",
       "\"-COMP\" ends block PIN, whose end tag is -PIN"},
      {"end of the input inside a component", badFileStart() + goodComponent("R1") +
           "+COMPONENT\r\nL:0,X:250,Y:100\r\n",
       1, Kind::kEndOfInput, 12, 12, "COMPONENT", "", "",
       "the file ends inside block COMPONENT, begun on line 12"},
      {"end of the input inside a library section", badFileStart() +
           "+COMPONENT\r\n+KOLVA_LIB_V.1.0\r\n+COMP,N:RESISTOR\r\nX:3,Y:1,B:1\r\n",
       1, Kind::kEndOfInput, 4, 4, "KOLVA_LIB_V.1.0", "", "",
       "the file ends inside block KOLVA_LIB_V.1.0, begun on line 4"},
      {"escape cut short", badFileStart() + "+LABEL,L:0,X:1,Y:2,D:1\r\nS:AB%4,-LABEL\r\n", 1,
       Kind::kEscapeCutShort, 4, 3, "LABEL", "", "",
       "an escape (%XX) is cut short by the end of its field, in block LABEL"},
      {"stray field at top level", badFileStart() + goodComponent("R1") +
           "JUNK\r\n-KOLVA_DATA_V.1.0\r\n",
       1, Kind::kStrayField, 12, 0, "", "", "JUNK",
       "\"JUNK\" stands outside any block and is neither a start tag nor the end of the file"},
      {"stray end tag at top level", badFileStart() + "-COMPONENT\r\n", 1, Kind::kStrayField, 3,
       0, "", "", "-COMPONENT",
       "\"-COMPONENT\" stands outside any block and is neither a start tag nor the end of the "
       "file"},
      {"unknown block never closed", badFileStart() + goodComponent("R1") +
           "+FUTURE_BLOCK\r\nA:1\r\n-KOLVA_DATA_V.1.0\r\n",
       1, Kind::kUnclosedBlock, 12, 12, "FUTURE_BLOCK", "", "",
       "block FUTURE_BLOCK, begun on line 12, never ends (no -FUTURE_BLOCK)"},
      {"pin before the part's size", componentWithPart("+COMP,N:R\r\n+PIN,N:1,-PIN\r\nX:3,Y:1,B:1\r\n-COMP\r\n"),
       1, Kind::kMisplacedBlock, 6, 6, "COMP", "", "+PIN",
       "block COMP cannot hold block +PIN here"},
      {"library section without a part", componentWithPart(""), 1, Kind::kMissingBlock, 5, 4,
       "KOLVA_LIB_V.1.0", "+COMP", "",
       "block KOLVA_LIB_V.1.0 ends without the block +COMP it needs"},
      {"value a key cannot take", componentWithPart("+COMP,N:R\r\nX:3,Y:1,B:-1\r\n-COMP\r\n"), 1,
       Kind::kBadValue, 6, 5, "COMP", "B", "-1",
       "block COMP cannot take \"-1\" as the value of key B"},
      {"value a part cannot use", componentWithPart("+COMP,N:R\r\nX:0,Y:1,B:1\r\n-COMP\r\n"), 1,
       Kind::kBadValue, 7, 5, "COMP", "X", "",
       "block COMP has no usable value of key X"},
      {"another version", "+KOLVA_DATA_V.2.0\r\n+COMPONENT\r\n", 2, Kind::kNotSchematic, 1, 0,
       "", "", "+KOLVA_DATA_V.2.0",
       "not a Kolvane schematic: the first field is \"+KOLVA_DATA_V.2.0\", not "
       "+KOLVA_DATA_V.1.0"},
      {"long first field, cut short", "\r\n\r\n" + std::string(100, 'Q') + "\r\n", 2,
       Kind::kNotSchematic, 3, 0, "", "", std::string(40, 'Q'),
       "not a Kolvane schematic: the first field is \"" + std::string(40, 'Q') +
           "\", not +KOLVA_DATA_V.1.0"},
      {"control bytes in the first field", "AB%01%7FC\r\n", 2, Kind::kNotSchematic, 1, 0, "", "",
       "AB\x01\x7f" "C",
       "not a Kolvane schematic: the first field is \"AB??C\", not +KOLVA_DATA_V.1.0"},
  };
}

}  // namespace vesk::test
