#include "partlib/library_section.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "partlib/part_def.h"
#include "schfile/read_problem.h"
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

// A parts list leaves out the pins and bitmaps, but must accept and refuse
// exactly what a full read does, with the same problem, and stop in the
// same place. Bitmap rows are the case to watch: left out, rows of the
// written shape are passed over without being decoded, and a field of a
// row's length that is no row (an end tag, a start tag, an escape) must
// still be seen for what it is.
TEST(LibrarySection, LeavingOutTheDetailsReadsAndFailsAlike) {
  const std::string ptn = "+PTN,N:CHIP1,X:16,Y:2,+BMP,";  // rows of four characters
  const std::string rest = "-PTN\n" + kPart + kEnd;
  const std::string bodies[] = {
      kPattern + kPart + kEnd,
      kPart + kPattern + kEnd,
      ptn + "OOOO\r\n@@@@\r\n-BMP\r\n" + rest,
      ptn + "OOOO,@@@@,@@@@,OOOO,-BMP," + rest,
      ptn + "OOOOOO,@,,  OOOO,-BMP," + rest,
      ptn + "OO%4F,O%4FOO,-BMP," + rest,
      ptn + "OOOO,O%4\n-BMP," + rest,
      ptn + "OOOO,+BMX,OOOO,-BMX,@@@@,-BMP," + rest,
      ptn + "OOOO,+BMX,OOOO,-BMP," + rest,
      ptn + "OOOO,-BMQ,-BMP," + rest,
      ptn + "OOOO,-PTN," + rest,
      ptn + "OOOO\n@@@@\n",
      ptn + "OO\x01O,-BMP," + rest,
      "+PTN,N:B,X:2147483647,Y:2,+BMP,OO,-BMP,-PTN\n" + kPart + kEnd,
      "+PTN,N:B,X:8,Y:1,-PTN\n" + kPart + kEnd,
      "+COMP,N:P,X:1,Y:1,B:2,+PIN,N:A\\B,L:T9,T:SCNm,M:1,M:2,M:3,-PIN,-COMP\n" + kEnd,
      "+COMP,N:P,+PIN,N:A,-PIN,X:1,Y:1,B:1,-COMP\n" + kEnd,
      "+COMP,N:P,X:1,Y:1,B:1,+PIN,N:A,M:1\n",
      kPart + "+FOO,A:1,-FOO\n" + kEnd,
  };
  struct Read {
    bool ok;
    ReadProblem problem;
    std::string next;
    int line;
    PartDef def;
  };
  const auto read = [](const std::string& input, PartDetails details) {
    Read r{};
    std::string name;
    RecordReader reader(input);
    r.ok = readLibrarySection(reader, &r.def, name, details);
    r.problem = reader.problem();
    reader.readField(r.next);
    r.line = reader.line();
    return r;
  };
  for (const std::string& body : bodies) {
    const std::string input = body + "NEXT\n";
    const Read kept = read(input, PartDetails::kKept);
    const Read leftOut = read(input, PartDetails::kLeftOut);
    EXPECT_EQ(leftOut.ok, kept.ok) << body;
    EXPECT_EQ(std::tie(leftOut.problem.kind, leftOut.problem.line, leftOut.problem.blockLine,
                       leftOut.problem.block, leftOut.problem.key, leftOut.problem.found),
              std::tie(kept.problem.kind, kept.problem.line, kept.problem.blockLine,
                       kept.problem.block, kept.problem.key, kept.problem.found))
        << body;
    EXPECT_EQ(std::tie(leftOut.next, leftOut.line), std::tie(kept.next, kept.line)) << body;
    if (!kept.ok) continue;
    EXPECT_EQ(leftOut.def.pinCount(), 0) << body;
    EXPECT_EQ(leftOut.def.blockCount(), kept.def.blockCount()) << body;
    EXPECT_EQ(leftOut.def.pattern() != nullptr, kept.def.pattern() != nullptr) << body;
    if (leftOut.def.pattern() != nullptr) {
      EXPECT_FALSE(leftOut.def.pattern()->hasData()) << body;
    }
  }
}

}  // namespace
}  // namespace vesk
