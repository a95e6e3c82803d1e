// Pin texts: the name and the numbers of each block, kept packed in the
// pin, come back as they were read, whatever their lengths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "partlib/part_def.h"
#include "schfile/record_reader.h"
#include "schfile/record_writer.h"

namespace vesk {
namespace {

PartPin readPin(const std::string& body, int blocks) {
  RecordReader reader(body);
  PartPin pin;
  EXPECT_TRUE(readPinBlock(reader, pin, blocks)) << body;
  return pin;
}

TEST(PartPin, TextsOfEveryLengthComeBack) {
  using Numbers = PartPin::Numbers;
  const std::string n127(127, '7');
  const std::string n128(128, '8');
  const std::string n20000(20000, '9');
  {
    const PartPin pin = readPin("L:R3,-PIN\n", 2);
    EXPECT_EQ(pin.name(), std::nullopt);
    EXPECT_EQ(pin.numbers(), (Numbers{std::nullopt, std::nullopt}));
    EXPECT_EQ(pin.number(0), std::nullopt);
  }
  {
    // An empty name is a name; empty numbers are numbers.
    const PartPin pin = readPin("N:,M:,M:,M:x,-PIN\n", 2);
    EXPECT_EQ(pin.name(), "");
    EXPECT_EQ(pin.numbers(), (Numbers{"", ""}));
  }
  {
    // Lengths around the steps of the packed length, in every place.
    const PartPin pin =
        readPin("M:" + n127 + ",M:" + n128 + ",N:A,M:" + n20000 + ",M:1,N:" + n128 + ",-PIN\n", 4);
    EXPECT_EQ(pin.name(), n128);
    EXPECT_EQ(pin.numbers(), (Numbers{n127, n128, n20000, "1"}));
    EXPECT_EQ(pin.number(2), n20000);
    EXPECT_EQ(pin.number(4), std::nullopt);
    EXPECT_EQ(pin.number(-1), std::nullopt);
  }
  {
    // The largest part: 256 blocks, of which the last is never numbered.
    std::string body;
    std::vector<std::string> texts;  // the expected numbers view these
    for (int k = 0; k < 255; ++k) texts.push_back(std::to_string(k));
    Numbers expected(256);
    for (int k = 0; k < 255; ++k) {
      body += "M:" + texts[static_cast<std::size_t>(k)] + ",";
      expected[static_cast<std::size_t>(k)] = texts[static_cast<std::size_t>(k)];
    }
    const PartPin pin = readPin(body + "-PIN\n", 256);
    EXPECT_EQ(pin.blockCount(), 256);
    EXPECT_EQ(pin.numbers(), expected);
  }
}

TEST(PartPin, CopiesAndWrittenPinsKeepTheTexts) {
  const PartPin pin = readPin("N:\\R\\S,L:B12,T:SN,M:" + std::string(300, 'q') + ",M:2,-PIN\n", 3);
  const PartPin copy = pin;
  EXPECT_EQ(copy.name(), "\xd2\xd3");
  EXPECT_EQ(copy.numbers(), pin.numbers());
  std::string out;
  RecordWriter writer(out);
  writePinBlock(writer, copy);
  EXPECT_EQ(out, "+PIN,N:\\R\\S,L:B12,T:SN,M:" + std::string(300, 'q') + ",M:2,M:,-PIN");
}

// Texts are held in the pin up to 15 packed bytes and in a block of their
// own beyond: every copy and move between the two kinds keeps them (and,
// under the sanitizers, frees each block exactly once).
TEST(PartPin, CopiesAndMovesKeepTextsHeldInPlaceOrInABlock) {
  // Packed size: 1 + name, then 1 + the one-byte number: 3 + name bytes,
  // so names of 12 and 13 bytes stand on either side of the limit.
  const std::vector<std::string> names = {"", "A", std::string(11, 'n'), std::string(12, 'n'),
                                          std::string(13, 'n'), std::string(200, 'n')};
  for (const std::string& first : names) {
    for (const std::string& second : names) {
      const PartPin a = readPin("N:" + first + ",L:L1,T:S,M:7,-PIN\n", 1);
      const PartPin b = readPin("N:" + second + ",L:R2,T:N,M:8,-PIN\n", 1);
      PartPin copy = a;
      EXPECT_EQ(copy.name(), first);
      copy = b;  // copy over texts of the other kind
      EXPECT_EQ(copy.name(), second);
      EXPECT_EQ(copy.number(0), "8");
      EXPECT_EQ(copy.side(), kSideRight);
      PartPin moved = std::move(copy);
      EXPECT_EQ(moved.name(), second);
      moved = PartPin(a);  // move over texts of the other kind
      EXPECT_EQ(moved.name(), first);
      EXPECT_EQ(moved.number(0), "7");
      EXPECT_EQ(moved.flags(), kPinFlagS);
      const PartPin& self = moved;
      moved = self;  // self-assignment
      EXPECT_EQ(moved.name(), first);
      copy = std::move(moved);
      EXPECT_EQ(copy.name(), first);
    }
  }
}

}  // namespace
}  // namespace vesk
