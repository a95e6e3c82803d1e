// The command line: how arguments become inputs, the output and the mode.
#include <gtest/gtest.h>

#include "app/parts_list_app.h"

namespace vesk {
namespace {

struct CommandLineCase {
  const char* title;
  std::vector<std::string> args;  // after the program name
  bool slashStartsFlag;
  std::vector<std::string> inputs;
  std::string output;
  bool autoRun;
};

// Test names and failure messages show the case's title, not its bytes.
void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.title; }

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ParsesIntoInputsOutputAndMode) {
  const CommandLineCase& c = GetParam();
  std::vector<std::string> args = c.args;
  args.insert(args.begin(), "vesk");
  CPartsListCmdLineInfo info;
  CPartsListApp::ParseCommandLine(info, args, c.slashStartsFlag);
  EXPECT_EQ(info.m_inputPaths, c.inputs);
  EXPECT_EQ(info.m_outputPath, c.output);
  EXPECT_EQ(info.m_bAutoRun, c.autoRun);
}

const CommandLineCase kCases[] = {
    {"NoArguments", {}, false, {}, "", false},
    {"TwoInputs", {"a.ce3", "b.ce3"}, false, {"a.ce3", "b.ce3"}, "", false},
    {"OutputBetweenInputs", {"a.ce3", "-o", "out.csv", "b.ce3"}, false, {"a.ce3", "b.ce3"},
     "out.csv", false},
    {"LastOutputWins", {"-o", "out1.csv", "-o", "out2.csv", "a.ce3"}, false, {"a.ce3"},
     "out2.csv", false},
    {"RestOfFlagIgnored", {"-oout.csv", "a.ce3"}, false, {}, "a.ce3", false},
    {"OutputFlagLast", {"a.ce3", "-o"}, false, {"a.ce3"}, "", false},
    {"UnknownFlagDropsNext", {"-x", "a.ce3", "b.ce3"}, false, {"b.ce3"}, "", false},
    {"LowerCaseFIsUnknown", {"-f", "a.ce3"}, false, {}, "", false},
    {"AutoRunLongFlag", {"-Fast", "a.ce3"}, false, {"a.ce3"}, "", true},
    {"AutoRunResetsMode", {"-o", "-F", "a.ce3"}, false, {"a.ce3"}, "", true},
    {"EmptyArgumentKeepsMode", {"-o", "", "x.csv"}, false, {}, "x.csv", false},
    {"InputFlagReturnsToInputs", {"-x", "-s", "a.ce3"}, false, {"a.ce3"}, "", false},
    {"DuplicatesKept", {"a.ce3", "a.ce3"}, false, {"a.ce3", "a.ce3"}, "", false},
    // A lone dash is no flag: after -o it names the standard output.
    {"LoneDashIsAPlainArgument", {"-", "a.ce3", "b.ce3"}, false, {"-", "a.ce3", "b.ce3"}, "",
     false},
    {"OutputToStandardOutput", {"-F", "a.ce3", "-o", "-", "b.ce3"}, false, {"a.ce3", "b.ce3"},
     "-", true},
    {"WindowsLoneSlashIsStillAFlag", {"/", "a.ce3", "b.ce3"}, true, {"b.ce3"}, "", false},
    // On POSIX an absolute path begins with '/' and is a plain argument.
    {"PosixAbsolutePaths", {"-F", "/data/a.ce3", "-o", "/out/x.csv"}, false, {"/data/a.ce3"},
     "/out/x.csv", true},
    {"PosixSlashFIsPath", {"/F", "a.ce3"}, false, {"/F", "a.ce3"}, "", false},
    // On Windows '/' introduces a flag like '-'.
    {"WindowsSlashFlags", {"/F", "a.ce3", "/o", "b.csv"}, true, {"a.ce3"}, "b.csv", true},
    {"WindowsSlashUnknownFlag", {"/data/a.ce3", "b.ce3"}, true, {}, "", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.title); });

// The format's options are whole arguments; every other argument keeps
// its meaning, one beginning with "--" included.
TEST(CommandLine, LongOptions) {
  using F = PartsListFormat;
  constexpr F kDefault, kGrouped{ListLayout::kGrouped, ListEncoding::kShiftJis};
  constexpr F kUtf8{ListLayout::kPerComponent, ListEncoding::kUtf8};
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> inputs;
    F format;
    std::string badOption;
    std::string changesSince = {};
  };
  const Case cases[] = {
      {{"--grouped", "a.ce3"}, {"a.ce3"}, kGrouped, ""},
      {{"-o", "--encoding=utf-8", "--grouped", "x.csv", "a.ce3"}, {"a.ce3"},
       F{ListLayout::kGrouped, ListEncoding::kUtf8}, ""},
      {{"--encoding=UTF-8", "a.ce3"}, {"a.ce3"}, kUtf8, ""},
      {{"--encoding=utf-8", "--encoding=Shift_JIS"}, {}, kDefault, ""},
      {{"--encoding=latin1", "a.ce3"}, {"a.ce3"}, kDefault, "--encoding=latin1"},
      {{"--encoding=", "a.ce3"}, {"a.ce3"}, kDefault, "--encoding="},
      {{"--changes-since=old.csv", "a.ce3", "--changes-since=o,=.csv"}, {"a.ce3"}, kDefault, "",
       "o,=.csv"},
      {{"--changes-since=", "a.ce3"}, {"a.ce3"}, kDefault, "--changes-since="},
      {{"--changes-since", "old.csv", "a.ce3"}, {"a.ce3"}, kDefault, ""},
      // Not whole long options: flags by their first letter, '-', which
      // drops the next plain argument as ever.
      {{"--groupedx", "a.ce3", "b.ce3"}, {"b.ce3"}, kDefault, ""},
      {{"--encoding", "utf-8", "a.ce3"}, {"a.ce3"}, kDefault, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "vesk");
    CPartsListCmdLineInfo info;
    CPartsListApp::ParseCommandLine(info, args, false);
    EXPECT_EQ(info.m_inputPaths, c.inputs) << c.args[0];
    EXPECT_TRUE(info.m_format == c.format) << c.args[0];
    EXPECT_EQ(info.m_badOption, c.badOption) << c.args[0];
    EXPECT_EQ(info.m_changesSince, c.changesSince) << c.args[0];
  }
}

// "--help", "--version" and, where '/' starts a flag, "/?" ask for the help
// or the version; anything like them keeps the first-letter rule.
TEST(CommandLine, WholeArgumentsAskForHelpOrVersion) {
  using Request = CPartsListCmdLineInfo::Request;
  struct Case {
    std::vector<std::string> args;
    bool slashStartsFlag;
    Request request;
    std::vector<std::string> inputs;
  };
  const Case cases[] = {
      {{"--help"}, false, Request::kHelp, {}},
      {{"--version"}, false, Request::kVersion, {}},
      {{"a.ce3", "--help", "b.ce3"}, false, Request::kHelp, {"a.ce3", "b.ce3"}},
      {{"--version", "--help"}, false, Request::kVersion, {}},
      {{"--help", "--version"}, false, Request::kHelp, {}},
      {{"/?"}, true, Request::kHelp, {}},
      {{"/?"}, false, Request::kRun, {"/?"}},
      {{"-?", "a.ce3", "b.ce3"}, true, Request::kRun, {"b.ce3"}},
      {{"--helpme", "a.ce3", "b.ce3"}, false, Request::kRun, {"b.ce3"}},
      {{"-help", "a.ce3", "b.ce3"}, false, Request::kRun, {"b.ce3"}},
      {{"--HELP", "a.ce3"}, false, Request::kRun, {}},
      {{"/help", "a.ce3"}, true, Request::kRun, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "vesk");
    CPartsListCmdLineInfo info;
    CPartsListApp::ParseCommandLine(info, args, c.slashStartsFlag);
    EXPECT_EQ(info.m_request, c.request) << c.args.front();
    EXPECT_EQ(info.m_inputPaths, c.inputs) << c.args.front();
  }
}

TEST(AppName, IsTheExecutableNameWithoutDirectoryAndExtension) {
  EXPECT_EQ(CPartsListApp::AppNameFromModulePath("/usr/local/bin/vesk"), "vesk");
  EXPECT_EQ(CPartsListApp::AppNameFromModulePath("C:\\Tools\\Vesk.exe"), "Vesk");
  EXPECT_EQ(CPartsListApp::AppNameFromModulePath("./build/vesk.v2.exe"), "vesk.v2");
  EXPECT_EQ(CPartsListApp::AppNameFromModulePath("vesk"), "vesk");
}

}  // namespace
}  // namespace vesk
