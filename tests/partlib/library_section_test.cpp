#include "partlib/library_section.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "partlib/part_def.h"
#include "schfile/record_reader.h"

namespace vesk {
namespace {

const std::string kPart = "+COMP,N:CHIP1,X:2,Y:3,B:1,R:U,+PIN,N:RST,L:L1,T:,M:1,-PIN,-COMP\n";
const std::string kPattern = "+PTN,N:CHIP1,X:16,Y:2,+BMP,OOOO,@@@@,-BMP,-PTN\n";
const std::string kEnd = "-KOLVA_LIB_V.1.0\n";

TEST(LibrarySection, AcceptedLayouts) {
  const std::tuple<const char*, std::string, int> cases[] = {
      // what, section body, width of the pattern kept (0: none)
      {"pattern first", kPattern + kPart + kEnd, 16},
      {"no pattern, section-level key", "V:1\n" + kPart + kEnd, 0},
      {"pattern after the part", kPart + kPattern + kEnd, 16},
      {"second pattern skipped", kPattern + "+PTN,N:B,X:8,Y:1,+BMP,OO,-BMP,-PTN\n" + kPart + kEnd,
       16},
      {"second part skipped", kPart + "+COMP,N:OTHER,X:5,Y:5,B:4,-COMP\n" + kEnd, 0},
      {"failed pattern dropped, later one read",
       "+PTN,N:B,X:8,Y:1,-PTN\n" + kPart + "+PTN,N:B,X:8,Y:1,+BMP,OO,-BMP,-PTN\n" + kEnd, 8},
      {"oversized pattern dropped",
       "+PTN,N:B,X:2147483647,Y:2147483647,+BMP,OO,-BMP,-PTN\n" + kPart + kEnd, 0},
  };
  for (const auto& [what, body, patternWidth] : cases) {
    PartDef def;
    std::string name, next;
    const std::string input = body + "NEXT\n";
    RecordReader reader(input);
    ASSERT_TRUE(readLibrarySection(reader, &def, name)) << what;
    reader.readField(next);
    EXPECT_EQ(next, "NEXT") << what;
    EXPECT_EQ(name, "CHIP1") << what;
    EXPECT_EQ((std::tuple(def.pinCount(), def.blockCount())), std::tuple(1, 1)) << what;
    EXPECT_EQ(def.pattern() ? def.pattern()->size().x : 0, patternWidth) << what;
  }
}

TEST(LibrarySection, Failures) {
  const std::pair<const char*, std::string> cases[] = {
      {"no part", kPattern + kEnd},
      {"foreign block", kPart + "+FOO,A:1,-FOO\n" + kEnd},
      {"stray end tag", kPart + "-PIN\n" + kEnd},
      {"failed part", "+COMP,N:P,X:0,Y:1,B:1,-COMP\n" + kEnd},
      {"cut off", kPart},
      {"cut off in the part", "+COMP,N:P,X:1,Y:1,B:1\n"},
      {"cut off in a second part", kPart + "+COMP,N:Q\n"},
  };
  for (const auto& [what, body] : cases) {
    PartDef def;
    std::string name;
    RecordReader reader(body);
    EXPECT_FALSE(readLibrarySection(reader, &def, name)) << what;
  }
}

}  // namespace
}  // namespace vesk
