// Blocks as the editor writes them and blocks written otherwise read the
// same: the white space before a field changes nothing, and the bitmap rows
// that the reader takes where they stand in its buffer give what the field
// reader gives. Each case below is read as it stands and once more with a
// space before each field, which a row taken in place never has and the
// field reader skips as white space.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "partlib/part_def.h"
#include "schfile/record_reader.h"
#include "schfile/record_writer.h"
#include "schfile/sch_document.h"
#include "schobj/sch_line.h"
#include "schobj/sch_object.h"
#include "tests/support/test_data.h"

namespace vesk {
namespace {

// Where the reader stands after a block: the next field and its line.
std::string nextField(RecordReader& reader) {
  std::string_view field;
  const int line = reader.readFieldView(field);
  return std::to_string(line) + " '" + std::string(field) + "'";
}

std::string readWire(const std::string& body) {
  RecordReader reader(body);
  SchWire wire;
  const bool ok = wire.readBlock(reader, nullptr, nullptr);
  return std::to_string(ok) + " " + std::to_string(wire.p1().x) + "," +
         std::to_string(wire.p1().y) + " " + std::to_string(wire.p2().x) + "," +
         std::to_string(wire.p2().y) + " then " + nextField(reader);
}

std::string readPin(const std::string& body, int blocks) {
  RecordReader reader(body);
  PartPin pin;
  const bool ok = readPinBlock(reader, pin, blocks);
  std::string text;
  RecordWriter writer(text);
  writePinBlock(writer, pin);
  // The numbers as the pin tells them, past its blocks too.
  std::string numbers;
  for (int block = 0; block < 6; ++block) {
    numbers += ' ';
    numbers += pin.number(block).value_or("(none)");
  }
  return std::to_string(ok) + " " + text + " blocks " + std::to_string(pin.blockCount()) +
         numbers + " then " + nextField(reader);
}

std::string readPattern(const std::string& body) {
  RecordReader reader(body);
  PartPattern pattern;
  const bool ok = readPatternBlock(reader, pattern);
  std::string bytes;
  for (const unsigned char b : pattern.data()) bytes += std::to_string(b) + " ";
  return std::to_string(ok) + " [" + bytes + "] then " + nextField(reader);
}

// A space at the start and after every one of `after`: each field that
// follows one is then read the general way, which skips the space.
std::string spacedAfter(const std::string& text, std::string_view after) {
  std::string spaced = " ";
  for (const char c : text) {
    spaced.push_back(c);
    if (after.find(c) != std::string_view::npos) spaced.push_back(' ');
  }
  return spaced;
}

TEST(WrittenLayout, WiresReadTheSameWithSpacesBeforeFields) {
  const char* const bodies[] = {
      "L:0,X1:10,Y1:20,X2:30,Y2:40,-WIRE\n+JUNCTION",
      "L:0,X1:10,Y1:20,X2:30,Y2:40,-WIRE,+JUNCTION",
      "L:0,X1:10,Y1:20,X2:30,Y2:40,-WIRE\r\n+JUNCTION",
      "L:0,X1:10,Y1:20\r\nX2:30,Y2:40,-WIRE\r\n\r\n  +JUNCTION",
      "X1:-7,Y1:-0,X2:0007,Y2:123456789,-WIRE\n+TAG",
      "L:0,X1:1234567890,Y1:-99999999999,X2:3,Y2:4,-WIRE\n+TAG",
      "L:,X1:1,Y1:2,X2:3,Y2:4,-WIRE\n+TAG",
      "L:a:b,X1:1,Y1:2,X2:3,Y2:4,-WIRE\n+TAG",
      "L:0,X1:1 ,Y1:2,X2:3,Y2:4,-WIRE\n+TAG",
      "L:0,X1:1,X1:5,Y1:2,X2:3,Y2:4,-WIRE\n+TAG",
      "L:0,Y1:2,X1:1,X2:3,Y2:4,-WIRE\n+TAG",
      "L:0,X1:1,Y1:2,X2:3,Y2:4,Z:9,-WIRE\n+TAG",
      "L:0,X1:1,Y1:2,X2:3,-WIRE\n+TAG",
      "L:0,X1:1,Y1:2,X2:3,Y2:,-WIRE\n+TAG",
      "L:0,X1:1%32,Y1:2,X2:3,Y2:4,-WIRE\n+TAG",
      "L:0,X1:1,Y1:2,X2:3,Y2:4,-BUS\n+TAG",
      "L:0,X1:1,Y1:2,X2:3,Y2:4,-WIRES\n+TAG",
      "L:0,X1:1,Y1:2,X2:3,Y2:4,-WIRE",
      "L:0,X1:1,Y1:2,X2:3,Y2:4",
  };
  for (const char* body : bodies) {
    EXPECT_EQ(readWire(body), readWire(std::string(" ") + body)) << body;
  }
  EXPECT_EQ(readWire("L:0,X1:-7,Y1:20,X2:123456789,Y2:40,-WIRE\r\n+JUNCTION"),
            "1 -7,20 123456789,40 then 2 '+JUNCTION'");
}

TEST(WrittenLayout, PinsReadTheSameWithSpacesBeforeFields) {
  const std::string longName(300, 'n');
  const std::string bodies[] = {
      "N:A0,L:L0,T:C,M:1,-PIN\n+PIN",
      "N:A0,L:R15,T:SNCm,M:1,M:2,M:3,M:4,-PIN,+PIN",
      "N:A0,L:B3,T:,M:1,M:2,M:3,M:4,M:5,-PIN\r\n+PIN",
      "N:,L:,T:,M:,-PIN\n-COMP",
      "N:\\A\\,L:T9,T:C,M:7,-PIN\n-COMP",
      "N:" + longName + ",L:L0,T:C,M:1,-PIN\n-COMP",
      "N:A0,L:X9,T:Q,M:1,-PIN\n-COMP",
      "N:A0,L:L256,T:C,M:1,-PIN\n-COMP",
      "N:A0,L:L-1,T:C,M:1,-PIN\n-COMP",
      "N:A0,L:L0,M:1,-PIN\n-COMP",
      "L:L0,N:A0,T:C,M:1,-PIN\n-COMP",
      "N:A0,L:L0,T:C,M:1,NN:2,-PIN\n-COMP",
      "N:A%30,L:L0,T:C,M:1,-PIN\n-COMP",
      "N:A0,L:L0,T:C,M:1,-PINS\n-COMP",
      "N:A0,L:L0,T:C,M:1,-PIN",
  };
  for (const std::string& body : bodies) {
    for (const int blocks : {0, 1, 2, 4, 300}) {
      EXPECT_EQ(readPin(body, blocks), readPin(" " + body, blocks)) << body << " " << blocks;
    }
  }
  EXPECT_EQ(readPin("N:A0,L:R15,T:C,M:1,M:2,-PIN\n-COMP", 1),
            "1 +PIN,N:A0,L:R15,T:C,M:1,-PIN blocks 1 1 (none) (none) (none) (none) (none) then 2 "
            "'-COMP'");
}

TEST(WrittenLayout, BitmapRowsTakenInPlaceReadAsFields) {
  // Widths of 1 to 3 bytes take the short checks, 7 and 12 the word loop
  // with and without an overlapping last word.
  const std::string bodies[] = {
      "N:p,X:16,Y:2\n+BMP\nHA@A\nOOAH\n-BMP\n-PTN\n+COMP",
      "N:p,X:8,Y:3\n+BMP\nHA\nOO\nAH\n-BMP\n-PTN\n+COMP",
      "N:p,X:24,Y:2\n+BMP\nHA@AOO\nOOAH@@\n-BMP\n-PTN\n+COMP",
      "N:p,X:56,Y:2\n+BMP\nHA@AOOHAHAHAAH\nOOAH@@AHOOAH@@\n-BMP\n-PTN\n+COMP",
      "N:p,X:96,Y:1\n+BMP\nHA@AOOHAHAHAAHOOAH@@AHOO\n-BMP\n-PTN\n+COMP",
      "N:p,X:16,Y:2\r\n+BMP\r\nHA@A\r\nOOAH\r\n-BMP\r\n-PTN\r\n+COMP",
      "N:p,X:16,Y:3\n+BMP\nHA@A,OOAH,AHAH\n-BMP\n-PTN\n+COMP",
      // Rows that are longer, shorter, bad, escaped or too many.
      "N:p,X:16,Y:3\n+BMP\nHA@AOO\nOO\nAH@@\n-BMP\n-PTN\n+COMP",
      "N:p,X:16,Y:2\n+BMP\nHAzA\nO,AH\n-BMP\n-PTN\n+COMP",
      "N:p,X:16,Y:2\n+BMP\nHA%41A\nOOAH\n-BMP\n-PTN\n+COMP",
      "N:p,X:16,Y:2\n+BMP\nHA@A\nOOAH\nAHAH\nOOOO\n-BMP\n-PTN\n+COMP",
      "N:p,X:16,Y:2\n+BMP\nHA@A\n+X\nOO,-X\nOOAH\n-BMP\n-PTN\n+COMP",
      "N:p,X:16,Y:2\n+BMP\nHA@A\nOOAH",
      "N:p,X:16,Y:2\n+BMP\nHA@A\nOOAH\n-BMX\n-PTN\n+COMP",
  };
  for (const std::string& body : bodies) {
    EXPECT_EQ(readPattern(body), readPattern(spacedAfter(body, "\n"))) << body;
  }
  EXPECT_EQ(readPattern(bodies[0]), "1 [129 1 255 24 ] then 7 '+COMP'");
}

std::string writtenObjects(const SchDocument& document) {
  std::string out;
  RecordWriter writer(out);
  for (const auto& object : document.objects()) object->writeBlock(writer, nullptr);
  return out;
}

// A sheet as the editor writes it, with Windows line ends, negative
// positions and parts of two blocks, reads as the same sheet with a space
// before every field.
TEST(WrittenLayout, ASheetWithWindowsLineEndsReadsTheSameSpaced) {
  const std::string text = testDataBytes("reading/plain_forms_crlf.ce3");
  ASSERT_FALSE(text.empty());
  const std::string spaced = spacedAfter(text, ",\n");
  SchDocument plain;
  SchDocument general;
  ASSERT_EQ(plain.readMemory(text), SchDocument::kLoaded);
  ASSERT_EQ(general.readMemory(spaced), SchDocument::kLoaded);
  EXPECT_EQ(plain.objects().size(), 6u);
  EXPECT_EQ(writtenObjects(plain), writtenObjects(general));
}

// A file of many components and wires whose blocks fall at every place of
// the reader's buffer, where the rows taken in place stop short and the
// field reader reads on: read from the file it gives what it gives read
// from memory.
TEST(WrittenLayout, BlocksAcrossTheReadersBufferReadAsFromMemory) {
  std::string text = "+KOLVA_DATA_V.1.0\n";
  for (int i = 0; text.size() < 600000; ++i) {
    const std::string note(static_cast<std::size_t>(i % 37), 'n');
    text += "+COMPONENT\n+KOLVA_LIB_V.1.0\n+PTN,N:P" + std::to_string(i) +
            ",X:24,Y:2\n+BMP\nHA@AOO\nOOAH@@\n-BMP\n-PTN\n+COMP,N:P" + std::to_string(i) +
            "\nX:2,Y:2,B:2\nR:R\nP:P" + std::to_string(i) +
            "\n+PIN,N:A,L:L0,T:C,M:1,M:2,-PIN\n+PIN,N:B,L:R1,T:,M:3,M:4,-PIN\n-COMP\n"
            "-KOLVA_LIB_V.1.0\nL:0,X:" +
            std::to_string(i) + ",Y:5,LIB:P" + std::to_string(i) +
            ",DIR:0,BLK:1,N:10k,NX:2,NY:20,R:R" + std::to_string(i) +
            ",RX:2,RY:10,NOTE:" + note + ",-COMPONENT\n+WIRE,L:0,X1:" + std::to_string(i) +
            ",Y1:1,X2:" + std::to_string(i % 101) + ",Y2:-3,-WIRE\n";
  }
  text += "-KOLVA_DATA_V.1.0\n";
  SchDocument fromMemory;
  ASSERT_EQ(fromMemory.readMemory(text), SchDocument::kLoaded);

  const std::string path = ::testing::TempDir() + "plain_blocks.ce3";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
  ASSERT_EQ(std::fclose(file), 0);
  SchDocument fromFile;
  ASSERT_EQ(fromFile.load(path.c_str()), SchDocument::kLoaded);
  std::remove(path.c_str());

  EXPECT_GT(fromMemory.objects().size(), 3000u);
  EXPECT_EQ(fromFile.objects().size(), fromMemory.objects().size());
  EXPECT_TRUE(writtenObjects(fromFile) == writtenObjects(fromMemory));
}

}  // namespace
}  // namespace vesk
