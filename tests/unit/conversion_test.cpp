#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vesk {
namespace {

const std::string kData = VESK_TEST_DATA_DIR "/convert/";
const std::string kExamples = VESK_EXAMPLES_DIR "/";

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RunResult {
  int result;
  std::string output;
  std::string trace;
};

RunResult convert(const std::vector<std::string>& paths) {
  std::vector<const char*> pointers;
  for (const std::string& path : paths) pointers.push_back(path.c_str());
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  testing::internal::CaptureStderr();
  RunResult run{runConversion(static_cast<int>(pointers.size()), pointers.data(), out), {}, {}};
  run.trace = testing::internal::GetCapturedStderr();
  std::rewind(out);
  for (int c; (c = std::fgetc(out)) != EOF;) run.output.push_back(static_cast<char>(c));
  std::fclose(out);
  return run;
}

TEST(Conversion, GoldenFiles) {
  struct Case {
    std::vector<std::string> inputs;
    const char* expected;  // a CSV file of kData; null: the output stays empty
    int result;
  };
  const std::string d = kData;
  const Case cases[] = {
      {{d + "worked_example.ce3"}, "worked_example.csv", 0},
      {{d + "worked_conflict.ce3"}, "worked_conflict.csv", 0},
      {{d + "ordering.ce3"}, "ordering.csv", 0},
      {{d + "marks.ce3"}, "marks.csv", 0},
      {{d + "texts.ce3"}, "texts.csv", 0},
      {{d + "r1_10k.ce3", d + "r1_10k.ce3"}, "twice.csv", 0},
      {{d + "r1_10k.ce3", d + "empty.ce3", d + "r1_10k_other.ce3"}, "shared_r1.csv", 0},
      {{kExamples + "amp_main.ce3", kExamples + "amp_power.ce3"}, "examples.csv", 0},
      {{}, nullptr, 0},
      {{d + "empty.ce3"}, nullptr, 0},
      {{d + "r1_10k.ce3", d + "r1_10k_other.ce3", d + "broken.ce3"}, nullptr, -3},
      {{d + "r1_10k.ce3", d + "marks.csv"}, nullptr, -3},  // not a schematic
  };
  for (const Case& c : cases) {
    const RunResult run = convert(c.inputs);
    const std::string label = c.inputs.empty() ? "no input" : c.inputs.back();
    EXPECT_EQ(run.result, c.result) << label;
    EXPECT_EQ(run.output, c.expected ? fileBytes(kData + c.expected) : "") << label;
    std::string trace;
    for (const std::string& input : c.inputs) trace += "Read " + input;
    EXPECT_EQ(run.trace, trace) << label;
  }
}

TEST(Conversion, StopsAtTheFirstFileThatCannotBeRead) {
  const std::string good = kData + "r1_10k.ce3";
  const std::string missing = kData + "no_such_file.ce3";
  const RunResult run = convert({good, missing, good});
  EXPECT_EQ(run.result, kConversionInputFailed);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.trace, "Read " + good + "Read " + missing);  // the third is never opened

  const char* none[] = {nullptr};
  std::FILE* out = std::tmpfile();
  testing::internal::CaptureStderr();
  EXPECT_EQ(runConversion(1, none, out), kConversionInputFailed);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Read ");
  EXPECT_EQ(std::ftell(out), 0);
  std::fclose(out);
}

}  // namespace
}  // namespace vesk
