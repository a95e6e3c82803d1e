#include "schfile/record_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/record_fields.h"

namespace vesk {
namespace {

using test::Field;

std::vector<Field> readAll(std::string_view input) {
  RecordReader reader(input);
  return test::readAllFields(reader);
}

std::vector<std::string> textsOf(std::string_view input) {
  std::vector<std::string> texts;
  for (const Field& f : readAll(input)) texts.push_back(f.text);
  return texts;
}

TEST(RecordReader, FourRecordExampleWithLineNumbers) {
  const std::string input =
      "+KOLVA_DATA_V.1.0\n"
      "+JUNCTION,L:0,X:120,Y:80,-JUNCTION\n"
      "+LABEL,L:0,X:200,Y:80,D:1,S:CLK%20IN,-LABEL\n"
      "-KOLVA_DATA_V.1.0\n";
  const std::vector<Field> expected = {
      {"+KOLVA_DATA_V.1.0", 1}, {"+JUNCTION", 2}, {"L:0", 2},     {"X:120", 2},
      {"Y:80", 2},              {"-JUNCTION", 2}, {"+LABEL", 3},  {"L:0", 3},
      {"X:200", 3},             {"Y:80", 3},      {"D:1", 3},     {"S:CLK IN", 3},
      {"-LABEL", 3},            {"-KOLVA_DATA_V.1.0", 4}};
  EXPECT_EQ(readAll(input), expected);
}

TEST(RecordReader, SeparatorsAndWhiteSpace) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"a,,b\n", {"a", "", "b"}},
      {"a,\n  b\n", {"a", "b"}},
      {"a\r\nb\n", {"a", "b"}},
      {" x y ,z\n", {"x y ", "z"}},
      {"\t\n\r \n", {}},
      {"a\tb\n", {"a\tb"}},
      {",x\n", {"", "x"}},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(textsOf(input), expected) << input;
}

TEST(RecordReader, CarriageReturnNeverCountsALine) {
  const std::vector<Field> expected = {{"a", 1}, {"b", 1}, {"c", 2}};
  EXPECT_EQ(readAll("a\r\rb\r\nc\n"), expected);
}

TEST(RecordReader, EscapesDecodeLikeStrtoulBase16) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"S:A%2CB\n", "S:A,B"},
      {"%41%42\n", "AB"},
      {"%4a\n", "J"},
      {"%G1\n", std::string(1, '\0')},
      {"%2BX\n", "+X"},
      {"%4G\n", "\x04"},                       // conversion stops at the first non-digit
      {"% A\n", "\x0a"},                       // leading blank accepted
      {"%-1\n", "\xff"},                       // sign accepted, low 8 bits kept
      {"%+F\n", "\x0f"},
      {"%0x\n", std::string(1, '\0')},         // "0x" without a digit after it is 0
      {"%%%\n", std::string(1, '\0')},
      {"%\xff\xfe\n", std::string(1, '\0')},  // high bytes are no digits
      {"a%20b%25\n", "a b%"},
  };
  for (const auto& [input, expected] : cases) {
    const auto texts = textsOf(input);
    ASSERT_EQ(texts.size(), 1u) << input;
    EXPECT_EQ(texts[0], expected) << input;
  }
}

TEST(RecordReader, EscapeCutShortByATerminatorEndsTheInput) {
  for (const std::string input : {"%4,x\n", "%,4x\n", "%4\nx\n", "ab%4\rx\n"}) {
    RecordReader reader(input);
    std::string field;
    EXPECT_EQ(reader.readField(field), -1) << input;
    EXPECT_EQ(reader.line(), 1) << "an LF consumed by a cut escape does not count: " << input;
  }
  RecordReader reader(std::string_view("ab%4,x\n"));
  std::string field;
  EXPECT_EQ(reader.readField(field), -1);
  EXPECT_EQ(field, "ab");
  EXPECT_EQ(reader.readField(field), 1);
  EXPECT_EQ(field, "x");
}

TEST(RecordReader, FieldLengthLimit) {
  const std::string exact(RecordReader::kMaxFieldLength, 'a');
  EXPECT_EQ(textsOf(exact + ",z\n"), (std::vector<std::string>{exact, "z"}));

  // Two bytes over: the first 32,768 are one field, the next byte is lost,
  // the last one is a field of its own on its own line.
  std::string longer = exact + "bc\n";
  const auto fields = readAll(longer);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].text, exact);
  EXPECT_EQ(fields[1], (Field{"c", 1}));

  // Escapes count as one stored byte each.
  std::string escaped;
  for (std::size_t i = 0; i < RecordReader::kMaxFieldLength; ++i) escaped += "%41";
  const auto escapedFields = textsOf(escaped + "\n");
  ASSERT_EQ(escapedFields.size(), 1u);
  EXPECT_EQ(escapedFields[0], std::string(RecordReader::kMaxFieldLength, 'A'));
}

TEST(RecordReader, LastFieldWithoutLineEndIsReturned) {
  EXPECT_EQ(textsOf("a,b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(textsOf("%41"), (std::vector<std::string>{"A"}));
  EXPECT_EQ(textsOf("x%4"), (std::vector<std::string>{})) << "an escape cut by the end is -1";
}

TEST(RecordReader, SkipToConsumesThroughTheFirstMatchingField) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"A:1,+Q,-Q,-XYZ,Z\n", "Z"},
      {"+XYZ,A:1,-XYZ,B:2,-XYZ,Z\n", "B:2"},
  };
  for (const auto& [input, next] : cases) {
    RecordReader reader(input);
    EXPECT_EQ(reader.skipTo("-XYZ"), 0);
    std::string field;
    ASSERT_NE(reader.readField(field), -1);
    EXPECT_EQ(field, next);
  }
  RecordReader reader(std::string_view("A:1,-XY,-XYZZ\n"));
  EXPECT_EQ(reader.skipTo("-XYZ"), -1);
}

TEST(RecordReader, FileSourceReadsAcrossBufferBoundaries) {
  // Fields that straddle the reader's internal buffer refills must come out
  // whole, escapes included.
  std::string input;
  std::vector<std::string> expected;
  for (int i = 0; i < 20000; ++i) {
    const std::string key = std::to_string(i);
    const std::string tail(static_cast<std::size_t>(i % 13), 'x');
    input.append("K").append(key).append(":v%2C").append(tail).append(i % 3 == 0 ? "\r\n" : ",");
    expected.push_back(std::string("K").append(key).append(":v,").append(tail));
  }
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(input.data(), 1, input.size(), file);
  std::rewind(file);
  RecordReader reader(file);
  std::string field;
  std::vector<std::string> got;
  while (reader.readField(field) != -1) got.push_back(field);
  std::fclose(file);
  EXPECT_EQ(got, expected);
  EXPECT_FALSE(reader.hadReadError());
}

}  // namespace
}  // namespace vesk
