#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory_resource>
#include <string>
#include <vector>

#include "convert/parts_list_format.h"
#include "platform/code_page_932.h"
#include "tests/support/counting_memory.h"
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

// The run in the per-component format, or in `format` when given, with the
// system's table of Shift-JIS.
RunResult convert(const std::vector<std::string>& paths,
                  const PartsListFormat* format = nullptr) {
  std::vector<const char*> pointers;
  for (const std::string& path : paths) pointers.push_back(path.c_str());
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  testing::internal::CaptureStderr();
  const int count = static_cast<int>(pointers.size());
  ConversionOptions options;
  if (format != nullptr) {
    options.format = *format;
    options.decoder = makeCodePage932Decoder();
  }
  RunResult run{format != nullptr ? runConversion(count, pointers.data(), out, options)
                                  : runConversion(count, pointers.data(), out),
                {},
                {}};
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
  // The list the run writes without being told a format, and the one it
  // writes when told the default format: the same bytes.
  const PartsListFormat defaultFormat;
  for (const PartsListFormat* format : {static_cast<const PartsListFormat*>(nullptr),
                                        &defaultFormat}) {
    for (const Case& c : cases) {
      const RunResult run = convert(c.inputs, format);
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
}

TEST(Conversion, TakesItsMemoryFromTheGivenResourceAndGivesAllOfItBack) {
  const std::string first = kExamples + "amp_main.ce3";
  const std::string second = kExamples + "amp_power.ce3";
  const char* paths[] = {first.c_str(), second.c_str()};
  for (const int count : {2, 1}) {
    test::CountingMemory memory;
    ConversionOptions options;
    options.memory = &memory;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(runConversion(count, paths, out, options), kConversionOk);
    testing::internal::GetCapturedStderr();
    std::fclose(out);
    EXPECT_GT(memory.taken, 0u);
    EXPECT_EQ(memory.outstanding, 0u) << count << " inputs";
  }
}

TEST(Conversion, TellsWhichInputFailedAndWhy) {
  const std::string good = kExamples + "amp_main.ce3";
  const std::string missing = kData + "no_such_file.ce3";
  const std::string broken = kData + "broken.ce3";
  struct Case {
    std::vector<const char*> paths;
    int failedInput;
    ReadProblem::Kind kind;
  };
  const Case cases[] = {
      {{good.c_str(), missing.c_str(), good.c_str()}, 1, ReadProblem::Kind::kCannotOpen},
      {{good.c_str(), good.c_str(), broken.c_str()}, 2, ReadProblem::Kind::kMissingKey},
      {{good.c_str()}, -1, ReadProblem::Kind::kNone},
  };
  for (const Case& c : cases) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ConversionReport report;
    testing::internal::CaptureStderr();
    runConversion(static_cast<int>(c.paths.size()), c.paths.data(), out, ConversionOptions(),
                  &report);
    testing::internal::GetCapturedStderr();
    std::fclose(out);
    EXPECT_EQ(report.failedInput, c.failedInput);
    EXPECT_EQ(report.problem.kind, c.kind);
  }
}

// Bytes that are no Shift-JIS: U+FFFD in the list, one warning line per
// component naming its file and reference, and the run succeeds.
TEST(Conversion, BytesThatAreNoShiftJisWarnAndTheRunSucceeds) {
  const std::string first = kData + "r1_10k.ce3";
  const std::string second = kData + "not_shift_jis.ce3";
  const std::string warning = "Warning: " + second + ": ";
  const PartsListFormat format{ListLayout::kGrouped, ListEncoding::kUtf8};
  const RunResult run = convert({first, second}, &format);
  EXPECT_EQ(run.result, kConversionOk);
  EXPECT_EQ(run.trace,
            "Read " + first + "Read " + second + "\n" +
            warning + "R2: bytes that are no Shift-JIS in the name, written as U+FFFD\n" +
            warning + "R3: bytes that are no Shift-JIS in the note, written as U+FFFD\n" +
            warning + "R4: bytes that are no Shift-JIS in the name and note, written as U+FFFD\n" +
            warning + "\xfd" "1: bytes that are no Shift-JIS in the reference, written as U+FFFD\n");
  EXPECT_NE(run.output.find(",\"R4\",1,\"\xEF\xBF\xBD\",\"\xEF\xBF\xBDｱ\"\r\n"),
            std::string::npos);
  // In Shift-JIS the bytes go out as they are, without a word.
  const PartsListFormat shiftJis;
  EXPECT_EQ(convert({second}, &shiftJis).trace, "Read " + second);
}

}  // namespace
}  // namespace vesk
