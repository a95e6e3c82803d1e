#include "schfile/block_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schfile/record_reader.h"

namespace vesk {
namespace {

struct Outcome {
  std::vector<std::string> keys;  // "key=value"
  BlockFields::End end;
  std::string next;  // the field after the block, if any
};

Outcome readBlock(std::string_view input, ColonRule rule) {
  RecordReader reader(input);
  BlockFields block(reader, "-OBJ", rule);
  Outcome out;
  while (block.next() == BlockFields::kKey) {
    out.keys.push_back(std::string(block.key()) + "=" + std::string(block.value()));
  }
  out.end = block.end();
  std::string field;
  if (reader.readField(field) != -1) out.next = field;
  return out;
}

TEST(BlockFields, KeyFieldsUnderBothColonRules) {
  const std::string input = "X5,:5,X:,S:a:b,X:12abc,,Y: -7,-OBJ,NEXT\n";
  const Outcome strict = readBlock(input, ColonRule::kStrict);
  EXPECT_EQ(strict.keys, (std::vector<std::string>{"S=a:b", "X=12abc", "Y= -7"}));
  EXPECT_EQ(strict.end, BlockFields::kOwnEndTag);
  EXPECT_EQ(strict.next, "NEXT");

  const Outcome lax = readBlock(input, ColonRule::kLax);
  EXPECT_EQ(lax.keys, (std::vector<std::string>{"X=", "S=a:b", "X=12abc", "Y= -7"}));
}

TEST(BlockFields, NestedBlocksAndEnds) {
  struct Case {
    const char* input;
    BlockFields::End end;
    std::vector<std::string> keys;
  };
  const std::vector<Case> cases = {
      {"A:1,+FOO,B:2,-FOO,C:3,-OBJ\n", BlockFields::kOwnEndTag, {"A=1", "C=3"}},
      {"A:1,+FOO,B:2,-OBJ\n", BlockFields::kSkipFailed, {"A=1"}},
      {"A:1,-LABEL,B:2,-OBJ\n", BlockFields::kOtherEndTag, {"A=1"}},
      {"A:1,-OBJX\n", BlockFields::kOtherEndTag, {"A=1"}},
      {"A:1\n", BlockFields::kEndOfInput, {"A=1"}},
  };
  for (const Case& c : cases) {
    const Outcome out = readBlock(c.input, ColonRule::kStrict);
    EXPECT_EQ(out.end, c.end) << c.input;
    EXPECT_EQ(out.keys, c.keys) << c.input;
  }
}

TEST(BlockFields, ClaimedNestedBlocksAreHandedToTheCaller) {
  RecordReader reader(std::string_view("+PIN,N:1,-PIN,+ODD,-ODD,K:v,-OBJ\n"));
  BlockFields block(reader, "-OBJ", ColonRule::kLax);
  block.claimNested(true);
  ASSERT_EQ(block.next(), BlockFields::kNested);
  EXPECT_EQ(block.tag(), "+PIN");
  ASSERT_TRUE(block.skipNested());
  ASSERT_EQ(block.next(), BlockFields::kNested);
  EXPECT_EQ(block.tag(), "+ODD");
  ASSERT_TRUE(block.skipNested());
  ASSERT_EQ(block.next(), BlockFields::kKey);
  EXPECT_EQ(block.number(), 0);
  EXPECT_EQ(block.next(), BlockFields::kEnded);
  EXPECT_TRUE(block.endedCleanly());
  EXPECT_EQ(block.next(), BlockFields::kEnded) << "stays ended";
}

}  // namespace
}  // namespace vesk
