// The count of references that occur more than once, over sorted rows
// and over whole runs.
#include "convert/duplicate_summary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "tests/support/test_data.h"

namespace vesk {
namespace {

struct Row {
  const char* prefix;
  int number;
  const char* name;
};

DuplicateSummary summarize(const std::vector<Row>& rows, std::size_t named = kNamedConflicts) {
  std::vector<PartsListEntry> entries;
  for (const Row& row : rows) entries.push_back({row.prefix, row.number, row.name, ""});
  SortedPartsList sorted;
  for (const PartsListEntry& entry : entries) sorted.push_back(&entry);
  return summarizeDuplicates(sorted, named);
}

TEST(DuplicateSummary, CountsRepeatedAndConflictingReferences) {
  struct Case {
    const char* title;
    std::vector<Row> rows;  // in list order
    std::size_t repeated, conflicting;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"empty", {}, 0, 0, {}},
      {"all different", {{"C", 1, "1u"}, {"R", 1, "1k"}, {"R", 2, "1k"}}, 0, 0, {}},
      {"same name thrice", {{"R", 1, "1k"}, {"R", 1, "1k"}, {"R", 1, "1k"}}, 1, 0, {}},
      {"names differ", {{"U", 1, "74HC00"}, {"U", 1, "74HC04"}}, 1, 1, {"U1"}},
      {"a second name after a repeat",
       {{"R", 2, "10k"}, {"R", 2, "10k"}, {"R", 2, "4.7k"}, {"R", 2, "4.7k"}, {"R", 3, "1k"},
        {"R", 3, "1k"}},
       2, 1, {"R2"}},
      {"same number, other prefix", {{"C", 1, "1u"}, {"R", 1, "1u"}}, 0, 0, {}},
      {"same prefix, other number", {{"R", 1, "1k"}, {"R", 10, "1k"}}, 0, 0, {}},
      {"no digits and no prefix", {{"TP", 0, "GND"}, {"TP", 0, "VCC"}, {"", 7, "x"}, {"", 7, "y"}},
       2, 2, {"TP0", "7"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const DuplicateSummary summary = summarize(c.rows);
    EXPECT_EQ(summary.rows, c.rows.size());
    EXPECT_EQ(summary.repeatedReferences, c.repeated);
    EXPECT_EQ(summary.conflictingReferences, c.conflicting);
    EXPECT_EQ(summary.conflictNames, c.named);
    EXPECT_EQ(summary.hasDuplicates(), c.repeated != 0);
  }
}

TEST(DuplicateSummary, NamesTheFirstConflictsAndCountsTheRest) {
  std::vector<Row> rows;
  for (int i = 1; i <= 8; ++i) {
    rows.push_back({"U", i, "74HC00"});
    rows.push_back({"U", i, "74HC04"});
  }
  const DuplicateSummary summary = summarize(rows, 3);
  EXPECT_EQ(summary.conflictingReferences, 8u);
  EXPECT_EQ(summary.conflictNames, (std::vector<std::string>{"U1", "U2", "U3"}));
}

TEST(DuplicateSummary, ARunReportsWhatItsListMarks) {
  // As the golden lists mark them: worked_conflict.csv has a "?" of U1;
  // marks.csv "*" and "?" rows of R2 and a "*" of R3; ordering.csv a "*"
  // of C7 and a "?" of R1.
  struct Case {
    const char* file;
    std::size_t rows, repeated, conflicting;
  };
  const Case cases[] = {
      {"convert/worked_conflict.ce3", 3, 1, 1},
      {"convert/marks.ce3", 6, 2, 1},
      {"convert/ordering.ce3", 16, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = testDataPath(c.file);
    const char* paths[] = {path.c_str()};
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ConversionReport report;
    testing::internal::CaptureStderr();
    EXPECT_EQ(runConversion(1, paths, out, ConversionOptions(), &report), kConversionOk);
    testing::internal::GetCapturedStderr();
    std::fclose(out);
    EXPECT_EQ(report.duplicates.rows, c.rows);
    EXPECT_EQ(report.duplicates.repeatedReferences, c.repeated);
    EXPECT_EQ(report.duplicates.conflictingReferences, c.conflicting);
  }
}

}  // namespace
}  // namespace vesk
