// The open-file dialog's filters as GTK gets them: the Windows filter list
// parsed, and patterns that match regardless of letter case, checked with
// the POSIX glob matcher that GTK's patterns follow.
#include <gtest/gtest.h>

#include <fnmatch.h>

#include <string>
#include <vector>

#include "platform/file_filter.h"
#include "platform/open_file_result.h"

namespace vesk {
namespace {

bool globMatches(const std::string& glob, const char* name) {
  return fnmatch(glob.c_str(), name, 0) == 0;
}

TEST(FileFilter, PatternsMatchWithoutRegardToLetterCase) {
  EXPECT_EQ(caseInsensitiveGlob("*.CE3"), "*.[cC][eE]3");
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const std::vector<Case> cases = {
      {"*.CE3", "amp.ce3", true},       {"*.CE3", "AMP.CE3", true},
      {"*.CE3", "amp.Ce3", true},       {"*.CE3", "amp.ce3.bak", false},
      {"*.CE3", "amp.ce4", false},      {"*.NET", "x.net", true},
      {"*.NET", "x.NeT", true},         {"*.NET", "x.csv", false},
      {"a?c.txt", "ABC.TXT", true},     {"[x].txt", "[X].TXT", true},
      {"[x].txt", "x.txt", false},      {"back\\slash", "BACK\\SLASH", true},
      {"*.CE3", "回路.ce3", true},      {"*.*", "README", true},
      {"*.*", "parts.csv", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(globMatches(caseInsensitiveGlob(c.pattern), c.name), c.matches)
        << c.pattern << " on " << c.name << " as " << caseInsensitiveGlob(c.pattern);
  }
}

TEST(FileFilter, WindowsFilterListBecomesNamedFilters) {
  using namespace std::string_literals;
  const auto input = fileFiltersFromPairs("Kolva data(*.ce3)\0*.CE3\0\0"s);
  ASSERT_EQ(input.size(), 1u);
  EXPECT_EQ(input[0].description, "Kolva data(*.ce3)");
  EXPECT_EQ(input[0].patterns, std::vector<std::string>{"*.[cC][eE]3"});

  const auto several = fileFiltersFromPairs("Both\0*.CE3; *.net\0All\0*.*\0\0"s);
  ASSERT_EQ(several.size(), 2u);
  EXPECT_EQ(several[0].patterns, (std::vector<std::string>{"*.[cC][eE]3", "*.[nN][eE][tT]"}));
  EXPECT_EQ(several[1].description, "All");

  // A description without its pattern, or an empty list, gives nothing.
  EXPECT_TRUE(fileFiltersFromPairs("Lonely\0"s).empty());
  EXPECT_TRUE(fileFiltersFromPairs("Lonely"s).empty());
  EXPECT_TRUE(fileFiltersFromPairs(""s).empty());
  EXPECT_EQ(fileFiltersFromPairs("Unterminated\0*.X"s).size(), 1u);
}

TEST(OpenFileResult, ExplorerFormFromChosenPaths) {
  using namespace std::string_literals;
  EXPECT_EQ(openFileResult({"/d/a.ce3"}, false), "/d/a.ce3\0\0"s);
  EXPECT_EQ(openFileResult({"/d/a.ce3"}, true), "/d/a.ce3\0\0"s);
  EXPECT_EQ(openFileResult({"/d/a.ce3", "/d/b.ce3"}, true), "/d\0a.ce3\0b.ce3\0\0"s);
  // Several directories: relative to the deepest one that holds them all.
  EXPECT_EQ(openFileResult({"/d/x/a.ce3", "/d/y/b.ce3", "/d/x/c.ce3"}, true),
            "/d\0x/a.ce3\0y/b.ce3\0x/c.ce3\0\0"s);
  EXPECT_EQ(openFileResult({"/dir/a.ce3", "/dirt/b.ce3"}, true), "/\0dir/a.ce3\0dirt/b.ce3\0\0"s);
  EXPECT_EQ(openFileResult({"/a.ce3", "/b.ce3"}, true), "/\0a.ce3\0b.ce3\0\0"s);
  EXPECT_EQ(openFileResult({}, true), "\0\0"s);
}

}  // namespace
}  // namespace vesk
