// The record reader on a stream: fields that meet the end of its read
// buffer (long fields, escapes, the field length limit, a last field
// without a terminator) come out exactly as from the same bytes in memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "schfile/record_reader.h"
#include "tests/support/record_fields.h"

namespace vesk {
namespace {

using test::Field;

std::vector<Field> drain(RecordReader& reader) {
  std::string rest;
  std::vector<Field> fields = test::readAllFields(reader, &rest);
  fields.push_back({rest, -1});  // what the last, failed read left
  return fields;
}

std::vector<Field> fromMemory(const std::string& input) {
  RecordReader reader(input);
  return drain(reader);
}

std::vector<Field> fromFile(const std::string& input) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) return {};
  std::fwrite(input.data(), 1, input.size(), file);
  std::rewind(file);
  RecordReader reader(file);
  std::vector<Field> fields = drain(reader);
  std::fclose(file);
  return fields;
}

// The stream reader's buffer is 128 KiB; the fields below start a little
// before that boundary (and before twice it), so that they cross it at
// every position of interest.
constexpr std::size_t kBoundary = 1 << 17;

TEST(RecordReaderBuffer, FieldsAcrossTheBufferEndReadAsFromMemory) {
  const std::string full(RecordReader::kMaxFieldLength, 'f');
  const std::vector<std::string> tails = {
      "abcdefghijklmnopqrstuvwxyz,next\n",
      "S:a%2Cb%20c,next\n",       // escapes around the boundary
      "x%4",                      // an escape cut off by the end of input
      "x%4\ny\n",                 // an escape cut off by a line end
      full + ",after\n",          // exactly the longest field
      full + "%41rest\n",         // the byte after a full field is lost, an escape too
      full + "\nnext\n",          // an LF after a full field still counts
      full + "bc\n",              // one byte lost, the next a field of its own
      "last field without a line end",
      "\n\n  \t\r\n,\n",          // white space and an empty field at the boundary
      std::string(3 * RecordReader::kMaxFieldLength, 'g') + "\n",
  };
  for (const std::string& tail : tails) {
    for (const std::size_t before : {1u, 8u, 9u, 40000u}) {
      // The second boundary comes after a refill that kept a partial field.
      for (const std::size_t boundary : {kBoundary, 2 * kBoundary + 3}) {
        // Short fields up to the offset, then the field under test.
        std::string input;
        while (input.size() + 6 < boundary - before) input += "K:12,\n";
        input.append(boundary - before - input.size(), 'p');
        input += ",";
        input += tail;
        ASSERT_EQ(fromFile(input), fromMemory(input)) << "tail " << tail.substr(0, 20)
                                                      << " at " << before << " before";
      }
    }
  }
}

}  // namespace
}  // namespace vesk
