#include "schfile/block_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schfile/record_reader.h"

namespace vesk {
namespace {

// A block of three keys that writes down what it was given.
struct Seen {
  std::vector<std::string> keys;  // "key=value"
  std::vector<std::string> nested;
};

template <char Key>
bool note(Seen& seen, std::string_view value) {
  seen.keys.push_back(std::string(1, Key) + "=" + std::string(value));
  return value != "refused";
}

constexpr BlockKey<Seen> kKeys[] = {
    {.name = "X", .required = true, .take = note<'X'>},
    {.name = "Y", .take = note<'Y'>},
    {.name = "S", .take = note<'S'>},
};

constexpr BlockTag kInnerTag{"IN"};
constexpr NestedBlock<Seen> kNested[] = {
    {.tag = kInnerTag,
     .read = [](Seen& seen, RecordReader& reader) {
       seen.nested.push_back("IN");
       return skipBlock(reader, kInnerTag.start());
     }},
};

constexpr BlockTag kTag{"OBJ"};
constexpr BlockRules<Seen> kStrict{
    .tag = kTag, .colonRule = ColonRule::kStrict, .keys = kKeys, .nested = kNested};
constexpr BlockRules<Seen> kLax{
    .tag = kTag, .colonRule = ColonRule::kLax, .keys = kKeys, .nested = kNested};
constexpr BlockRules<Seen> kEndsAtEnd{
    .tag = kTag, .colonRule = ColonRule::kLax, .keys = kKeys, .endsAtEndOfInput = true};
constexpr BlockRules<Seen> kIgnoresTags{
    .tag = kTag, .colonRule = ColonRule::kLax, .keys = kKeys, .skipsUnknownBlocks = false};

struct Outcome {
  bool read;
  Seen seen;
  std::string next;  // the field after the block, if any
  ReadProblem problem;
};

template <const auto& Rules>
Outcome readText(std::string_view input) {
  RecordReader reader(input);
  Outcome out{};
  out.read = readByRules<Rules>(reader, out.seen);
  std::string field;
  if (out.read && reader.readField(field) != -1) out.next = field;
  out.problem = reader.problem();
  return out;
}

TEST(BlockReader, KeyFieldsUnderBothColonRules) {
  const std::string input = "X5,:5,X:,S:a:b,X:12abc,,Y: -7,Z:9,-OBJ,NEXT\n";
  const Outcome strict = readText<kStrict>(input);
  ASSERT_TRUE(strict.read);
  EXPECT_EQ(strict.seen.keys, (std::vector<std::string>{"S=a:b", "X=12abc", "Y= -7"}));
  EXPECT_EQ(strict.next, "NEXT");

  const Outcome lax = readText<kLax>(input);
  ASSERT_TRUE(lax.read);
  EXPECT_EQ(lax.seen.keys, (std::vector<std::string>{"X=", "S=a:b", "X=12abc", "Y= -7"}));
}

TEST(BlockReader, KeysInAnyOrderAndRepeated) {
  // Out of the table's order, repeated, and with unknown keys between.
  const Outcome out = readText<kLax>("S:s,Q:1,Y:2,X:1,X:3,Y:4,-OBJ\n");
  ASSERT_TRUE(out.read);
  EXPECT_EQ(out.seen.keys, (std::vector<std::string>{"S=s", "Y=2", "X=1", "X=3", "Y=4"}));
}

TEST(BlockReader, NestedBlocksEndsAndWhatFailsTheBlock) {
  using Kind = ReadProblem::Kind;
  struct Case {
    const char* input;
    bool read;
    Kind kind;
    std::vector<std::string> nested;
  };
  const std::vector<Case> cases = {
      {"X:1,+IN,A:1,-IN,+FOO,-OBJ,-FOO,-OBJ\n", true, Kind::kNone, {"IN"}},
      {"X:1,+FOO,B:2,-OBJ\n", false, Kind::kUnclosedBlock, {}},
      {"X:1,-LABEL,-OBJ\n", false, Kind::kWrongEndTag, {}},
      {"X:1,-OBJX\n", false, Kind::kWrongEndTag, {}},
      {"Y:1,-OBJ\n", false, Kind::kMissingKey, {}},
      {"X:1\n", false, Kind::kEndOfInput, {}},
      {"X:refused,-OBJ\n", false, Kind::kBadValue, {}},
      {"X:1,S:%4,-OBJ\n", false, Kind::kEscapeCutShort, {}},
  };
  for (const Case& c : cases) {
    const Outcome out = readText<kLax>(c.input);
    EXPECT_EQ(out.read, c.read) << c.input;
    EXPECT_EQ(out.problem.kind, c.kind) << c.input;
    EXPECT_EQ(out.seen.nested, c.nested) << c.input;
  }
  // Where the rules say so, the end of the input ends the block, and an
  // unknown tag is one more field.
  EXPECT_TRUE(readText<kEndsAtEnd>("X:1,Y:2").read);
  const Outcome ignoring = readText<kIgnoresTags>("X:1,+FOO,Y:2,-OBJ\n");
  ASSERT_TRUE(ignoring.read);
  EXPECT_EQ(ignoring.seen.keys, (std::vector<std::string>{"X=1", "Y=2"}));
}

// The key expected next is read straight from the reader's buffer; a
// space before each field sends every field the general way. Both must
// give the same keys, values, lines and outcome, for keys that only begin
// like the expected one, escapes, empty values and a last field without a
// terminator.
TEST(BlockReader, TheKeyExpectedNextReadsAsAnyOtherField) {
  const char* const inputs[] = {
      "X:1,Y:2,S:3,-OBJ\n",
      "XY:1,X:2,Y:%41%42,S:,S:4\r\n-OBJ\n",
      "X:,Y:2:3,S:s\n\n-OBJ,NEXT\n",
      "X:1,Y:2,S:3",
      "X:1,Y:refused,-OBJ\n",
      "X:1,Y",
  };
  for (const char* input : inputs) {
    std::string spaced;
    for (const char c : std::string_view(input)) {
      spaced += c;
      if (c == ',' || c == '\n') spaced += ' ';
    }
    spaced.insert(0, " ");
    for (const auto& read : {readText<kLax>, readText<kStrict>, readText<kEndsAtEnd>}) {
      const Outcome plain = read(input);
      const Outcome padded = read(spaced);
      EXPECT_EQ(plain.read, padded.read) << input;
      EXPECT_EQ(plain.seen.keys, padded.seen.keys) << input;
      EXPECT_EQ(plain.problem.kind, padded.problem.kind) << input;
      EXPECT_EQ(plain.problem.line, padded.problem.line) << input;
      EXPECT_EQ(plain.next, padded.next) << input;
    }
  }
  EXPECT_EQ(readText<kLax>("XY:1,X:2,Y:%41%42,-OBJ\n").seen.keys,
            (std::vector<std::string>{"X=2", "Y=AB"}));
}

TEST(BlockReader, AProblemNamesTheBlockTheKeyAndTheLine) {
  // The block began on line 1, as its start tag was read there.
  RecordReader reader(std::string_view("+OBJ\nY:1\nS:s\n-OBJ\n"));
  std::string_view tag;
  ASSERT_EQ(reader.readFieldView(tag), 1);
  Seen seen;
  EXPECT_FALSE(readByRules<kLax>(reader, seen));
  const ReadProblem& problem = reader.problem();
  EXPECT_EQ(problem.kind, ReadProblem::Kind::kMissingKey);
  EXPECT_EQ(problem.block, "OBJ");
  EXPECT_EQ(problem.key, "X");
  EXPECT_EQ(problem.line, 4);  // where the block ended without it
  EXPECT_EQ(problem.blockLine, 1);

  RecordReader cut(std::string_view("+OBJ\nX:1\n\nY:2\n"));
  ASSERT_EQ(cut.readFieldView(tag), 1);
  EXPECT_FALSE(readByRules<kStrict>(cut, seen));
  EXPECT_EQ(cut.problem().kind, ReadProblem::Kind::kEndOfInput);
  EXPECT_EQ(cut.problem().line, 1) << "the end of the input points at the block's start";
}

}  // namespace
}  // namespace vesk
