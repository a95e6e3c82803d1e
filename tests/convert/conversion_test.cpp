#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/test_data.h"

namespace vesk {
namespace {

const std::string kData = testDataPath("convert/");
const std::string kExamples = VESK_EXAMPLES_DIR "/";

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
    const char* expected;  // a CSV file in kData; null: the output stays empty
    int result;
    std::size_t traced = 99;  // how many inputs were opened
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
      {{d + "r1_10k.ce3", d + "no_such_file.ce3", d + "r1_10k.ce3"}, nullptr, -3, 2},
  };
  for (const Case& c : cases) {
    const RunResult run = convert(c.inputs);
    const std::string label = c.inputs.empty() ? "no input" : c.inputs.back();
    EXPECT_EQ(run.result, c.result) << label;
    const std::string expected =
        c.expected ? testDataBytes(std::string("convert/") + c.expected) : std::string();
    EXPECT_EQ(run.output, expected) << label;
    std::string trace;
    for (std::size_t i = 0; i < c.inputs.size() && i < c.traced; ++i) {
      trace += "Read " + c.inputs[i];
    }
    EXPECT_EQ(run.trace, trace) << label;
  }
}

}  // namespace
}  // namespace vesk
