#include "partlib/part_def.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "schfile/record_reader.h"
#include "schfile/record_writer.h"
#include "tests/support/test_data.h"

namespace vesk {
namespace {

using Bytes = PartPattern::Bytes;

struct PartRead {
  bool ok;
  PartDef def;
  std::string name;
  std::string next;  // the field after the block
};

PartRead readPart(const std::string& body) {
  PartRead r{};
  RecordReader reader(body);
  std::string patternName;
  r.ok = readPartBlock(reader, r.def, r.name, patternName);
  reader.readField(r.next);
  return r;
}

struct PatternRead {
  bool ok;
  PartPattern pattern;
  std::string next;
};

PatternRead readPattern(const std::string& body) {
  PatternRead r{};
  RecordReader reader(body);
  r.ok = readPatternBlock(reader, r.pattern);
  reader.readField(r.next);
  return r;
}

TEST(PartDef, ExampleDefinitionReadsAndWritesByteForByte) {
  const std::string text = testDataBytes("partlib/chip1_definition.txt");
  const PatternRead p = readPattern(text.substr(5));  // after "+PTN,"
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.pattern.data(), (Bytes{0xff, 0xff, 0, 0}));
  PartRead r = readPart(text.substr(text.find("+COMP") + 6));
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.def.pinCount(), 1);
  EXPECT_EQ(r.def.pin(0)->name(), "\xd2\xc5\xd3\xc5\xd4");  // RESET, every letter marked

  r.def.setPattern(std::make_unique<PartPattern>(p.pattern));
  std::string out;
  RecordWriter writer(out);
  EXPECT_TRUE(writePartBlock(writer, r.def, r.name));
  EXPECT_FALSE(writePartBlock(writer, r.def, std::string()));  // writes nothing
  EXPECT_EQ(out, text);
}

TEST(PartDef, PartBlockRules) {
  const std::pair<const char*, bool> cases[] = {
      {"N:P,X:1,Y:1,B:256,-COMP", true},
      {"N:P,X:1,Y:1,B:257,-COMP", false},
      {"N:P,X:1,Y:1,B:-1,-COMP", false},
      {"N:P,X:1,Y:1,B:0,B:2,-COMP", true},
      {"N:P,X:1,Y:1,B:2,B:2,-COMP", false},
      {"N:P,X:0,Y:1,B:1,-COMP", false},
      {"N:P,X:-1,Y:1,B:1,-COMP", false},
      {"X:1,Y:1,B:1,-COMP", false},                   // no name
      {"N:P,X:1,B:1,+PIN,-PIN,Y:1,-COMP", false},     // pin before the sizes
      {"N:P,X:1,Y:1,B:1,-PIN", false},                // stray end tag
      {"N:P,X:1,Y:1,B:1,+FOO,A:1,-FOO,-COMP", true},  // unknown block skipped
      {"N:P,X:1,Y:1,B:1,+FOO,A:1", false},            // ... cut off
      {"N:P,X:1,Y:1,B:1,+PIN,-COMP", false},          // pin ended by the part's tag
  };
  for (const auto& [body, ok] : cases) EXPECT_EQ(readPart(std::string(body) + "\n").ok, ok) << body;

  const PartRead plain = readPart("N:P,X:1,Y:1,B:1,-COMP,NEXT\n");
  EXPECT_EQ(plain.def.referencePrefix(), "U");
  EXPECT_EQ(plain.next, "NEXT");
}

TEST(PartDef, PinKeys) {
  const PartRead r = readPart("N:P,X:1,Y:1,B:2\n"
                              "+PIN,L:Q7,T:SCx,M:a,-PIN\n"       // offset only; flags S and C
                              "+PIN,L:R5,L:L300,T:mN,T:,-PIN\n"  // side only; the second T clears
                              "+PIN,L:T,M:a,M:b,M:c,N:A\\,-PIN\n"
                              "+PIN,L:B255,N:" + std::string(300, 'x') + ",-PIN\n-COMP\n");
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.def.pinCount(), 4);
  const PartPin* p = r.def.pin(0);
  EXPECT_EQ((std::tuple(p->side(), p->offset(), p->flags())), std::tuple(kSideLeft, 7, 5));
  EXPECT_EQ(p->numbers(), (PartPin::Numbers{"a", std::nullopt}));
  p = r.def.pin(1);
  EXPECT_EQ((std::tuple(p->side(), p->offset(), p->flags())), std::tuple(kSideLeft, 5, 0));
  p = r.def.pin(2);
  EXPECT_EQ((std::tuple(p->side(), p->offset())), std::tuple(kSideTop, 0));
  EXPECT_EQ(p->numbers(), (PartPin::Numbers{"a", "b"}));
  EXPECT_EQ(p->name(), "A");
  p = r.def.pin(3);
  EXPECT_EQ((std::tuple(p->side(), p->offset())), std::tuple(kSideBottom, 255));
  EXPECT_EQ(p->name()->size(), 255u);
}

TEST(PartDef, WideBitmapDecodes501ColumnsAtTheClampedStride) {
  const std::string row(200, 'O');
  const PatternRead r = readPattern("N:W,X:600,Y:3,+BMP," + row + "," + row + ",AB,-BMP,-PTN\n");
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.pattern.dataSize(), 228);
  for (int i = 0; i < 228; ++i) {
    const bool set = i < 128 && i % 64 < 63;  // rows 0 and 1, 63 bytes each
    ASSERT_EQ(r.pattern.data()[i], set ? 0xff : (i == 128 ? 0x12 : 0)) << "byte " << i;
  }
}

// Rows of every length from 1 to 11 bytes, each with one character that
// is no nibble (below "@", above "O", or a byte with bit 7 set) at every
// position in turn: only the byte of that pair reads 0, whatever the
// row's length and the position of the pair in it.
TEST(PartDef, BadCharactersSpoilOnlyTheirPairInRowsOfAnyLength) {
  const std::string badCharacters = "?P`\xc0";
  for (int bytes = 1; bytes <= 11; ++bytes) {
    for (int bad = 0; bad < 2 * bytes; ++bad) {
      const char badCharacter = badCharacters[static_cast<std::size_t>(bad) % badCharacters.size()];
      std::string row;
      Bytes expected;
      for (int j = 0; j < bytes; ++j) {
        const int value = (j * 37 + bytes) & 0xff;
        row.push_back(static_cast<char>('@' + (value >> 4)));
        row.push_back(static_cast<char>('@' + (value & 15)));
        expected.push_back(static_cast<unsigned char>(value));
      }
      row[static_cast<std::size_t>(bad)] = badCharacter;
      expected[static_cast<std::size_t>(bad / 2)] = 0;
      const int width = bytes * 8;
      const PatternRead r = readPattern("N:B,X:" + std::to_string(width) + ",Y:1,+BMP," + row +
                                        ",-BMP,-PTN\n");
      ASSERT_TRUE(r.ok) << row;
      expected.resize(static_cast<std::size_t>(PartPattern::strideFor(width)), 0);
      EXPECT_EQ(r.pattern.data(), expected) << "row " << row;
    }
  }
}

TEST(PartDef, BitmapRowRules) {
  // A bad character spoils its own pair only; extra rows are ignored.
  const PatternRead r = readPattern("N:B,X:24,Y:2,+BMP,OOxOAB,@A,@B,-BMP,-PTN\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.pattern.data(), (Bytes{0xff, 0, 0x12, 0, 0x01, 0, 0, 0}));
  EXPECT_FALSE(readPattern("+BMP,OO,-BMP,N:B,X:8,Y:1,-PTN\n").ok);  // bitmap before its size
  EXPECT_FALSE(readPattern("X:8,Y:1,+BMP,OO,-BMP,-PTN\n").ok);      // no name
  EXPECT_FALSE(readPattern("N:B,X:8,Y:1,+BMP,OO,-PTN\n").ok);       // wrong end tag
  EXPECT_FALSE(readPattern("N:B,X:8,Y:1,+BMP,OO\n").ok);            // cut off
}

TEST(PartDef, HostileBitmapSizesFailThePatternAndKeepTheReaderInStep) {
  for (const char* size : {"X:2147483647,Y:2147483647", "X:40000,Y:40000", "X:99999999999,Y:3",
                           "X:16,Y:8388609"}) {
    const PatternRead r = readPattern(std::string("N:H,") + size + ",+BMP,OOOO,-BMP,-PTN,NEXT\n");
    EXPECT_FALSE(r.ok) << size;
    EXPECT_FALSE(r.pattern.hasData()) << size;
    EXPECT_EQ(r.next, "NEXT") << size;
  }
  EXPECT_TRUE(readPattern("N:H,X:16,Y:8388608,+BMP,OOOO,-BMP,-PTN\n").ok);  // exactly 16 MiB
}

}  // namespace
}  // namespace vesk
