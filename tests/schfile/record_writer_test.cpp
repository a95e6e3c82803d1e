#include "schfile/record_writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "schfile/record_reader.h"

namespace vesk {
namespace {

TEST(RecordWriter, EscapesSeparatorsWhiteSpaceAndPercent) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a b", "a%20b"},       {"50%", "50%25"},  {"x,y", "x%2Cy"},
      {"\t\n\r", "%09%0A%0D"}, {"+-:", "+-:"},   {"\x7f\x80\xff", "\x7f\x80\xff"},
      {"\x01\x1f", "%01%1F"},
  };
  for (const auto& [text, written] : cases) {
    std::string out;
    RecordWriter writer(out);
    EXPECT_EQ(writer.writeField(text), 0);
    EXPECT_EQ(out, written) << text;
  }
}

TEST(RecordWriter, KeysValuesAndLines) {
  std::string out;
  RecordWriter writer(out);
  writer.writeInt("X", -5);
  writer.writeInt("Y", 0);
  writer.writeInt("Z", INT_MIN);
  writer.writeText("S", "");
  writer.endLine();
  writer.writeField("C");
  writer.writeText("N", std::string("ab\0cd", 5));
  writer.endLine();
  EXPECT_EQ(out, "X:-5,Y:0,Z:-2147483648,S:\nC,N:ab\n");
}

// An empty first field writes nothing itself, but the line is then no
// longer at its start, so the next field gets its comma.
TEST(RecordWriter, EmptyFieldAtLineStartWritesNothingItself) {
  std::string out;
  RecordWriter writer(out);
  writer.writeField("");
  writer.writeField("A");
  writer.writeField("");
  writer.writeField("B");
  EXPECT_EQ(out, ",A,,B");
}

TEST(RecordWriter, ReportsAFailingStream) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  std::setvbuf(full, nullptr, _IONBF, 0);
  RecordWriter writer(full);
  EXPECT_EQ(writer.writeField("A"), -1);
  EXPECT_EQ(writer.endLine(), -1);
  std::fclose(full);
}

// Whatever the writer produces, the reader gives back field for field, as
// long as no field is over-long, empty at a line start, or holds a zero.
TEST(RecordWriter, RoundTripThroughTheReader) {
  std::vector<std::vector<std::string>> lines;
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  lines.push_back({"+KOLVA_DATA_V.1.0"});
  lines.push_back({"+LABEL", "S:CLK IN", "", "x,y", "%", all, "-LABEL"});
  lines.push_back({"\x82\xa0\x95\x5c", " lead and trail ", std::string(RecordReader::kMaxFieldLength, '%')});
  lines.push_back({"-", "+", ":"});

  std::string out;
  RecordWriter writer(out);
  std::vector<std::string> expected;
  for (const auto& line : lines) {
    for (const auto& field : line) {
      writer.writeField(field);
      expected.push_back(field);
    }
    writer.endLine();
  }
  RecordReader reader(out);
  std::string field;
  std::vector<std::string> got;
  while (reader.readField(field) != -1) got.push_back(field);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(reader.line(), static_cast<int>(lines.size()) + 1);
}

}  // namespace
}  // namespace vesk
