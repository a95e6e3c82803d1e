// The vesk program itself, run as a separate process on files in a
// scratch directory: output bytes and exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "app/exit_status.h"
#include "tests/support/app_test_support.h"

namespace vesk {
namespace {

using test::Part;
using test::readFile;
using test::schematicText;
using test::ScratchDir;
using test::writeFile;

// Runs `vesk <arguments>` in `directory` with stderr into `errors`; the
// exit status, or -1 when the program did not end normally.
int runVesk(const ScratchDir& directory, const std::string& arguments, const std::string& errors) {
  // Without a display, so that no window opens where the tests run on a desktop.
  const std::string command = "cd '" + directory.path().string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY '" VESK_PROGRAM "' " +
                              arguments + " 2>'" + errors + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class VeskProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(dir_.file("a.ce3"), schematicText({{"R2", "22k", ""}, {"C1", "100n", "X7R"}}));
    writeFile(dir_.file("b.ce3"), schematicText({{"R1", "10k", "1/4W"}, {"R2", "22k", ""}}));
    errors_ = (dir_.path().parent_path() / (dir_.path().filename().string() + ".err")).string();
  }
  void TearDown() override { std::remove(errors_.c_str()); }

  ScratchDir dir_;
  std::string errors_;
};

TEST_F(VeskProgram, WritesTheListBesideTheInput) {
  EXPECT_EQ(runVesk(dir_, "-F a.ce3", errors_), kExitWritten);
  EXPECT_EQ(readFile(dir_.file("a.csv")), ",\"C\",1,\"100n\",\"X7R\"\r\n,\"R\",2,\"22k\",\"\"\r\n");
  EXPECT_EQ(readFile(errors_), "Read a.ce3");
}

TEST_F(VeskProgram, AbsolutePathsArePathsNotFlags) {
  const std::string input = dir_.file("a.ce3");
  EXPECT_EQ(runVesk(dir_, "-F '" + input + "'", errors_), kExitWritten);
  EXPECT_EQ(readFile(dir_.file("a.csv")), ",\"C\",1,\"100n\",\"X7R\"\r\n,\"R\",2,\"22k\",\"\"\r\n");
}

TEST_F(VeskProgram, CombinesSeveralInputsIntoOneList) {
  EXPECT_EQ(runVesk(dir_, "-F a.ce3 b.ce3 -o out.csv", errors_), kExitWritten);
  EXPECT_EQ(readFile(dir_.file("out.csv")),
            ",\"C\",1,\"100n\",\"X7R\"\r\n"
            ",\"R\",1,\"10k\",\"1/4W\"\r\n"
            ",\"R\",2,\"22k\",\"\"\r\n"
            "*,\"R\",2,\"22k\",\"\"\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.file("a.csv")));
  EXPECT_EQ(readFile(errors_), "Read a.ce3Read b.ce3");
}

TEST_F(VeskProgram, ExitStatusTellsTheOutcome) {
  writeFile(dir_.file("out.csv"), "old contents");
  EXPECT_EQ(runVesk(dir_, "-F a.ce3 missing.ce3 -o out.csv", errors_), kExitInputFailed);
  EXPECT_EQ(readFile(dir_.file("out.csv")), "");  // truncated, nothing written
  writeFile(dir_.file("bad.ce3"), "+NOT_A_SCHEMATIC\r\n");
  EXPECT_EQ(runVesk(dir_, "-F bad.ce3", errors_), kExitInputFailed);
  EXPECT_EQ(runVesk(dir_, "-F a.ce3 -o no/such/dir.csv", errors_), kExitOutputFailed);
  EXPECT_EQ(runVesk(dir_, "-F a.ce3 -o ./a.ce3", errors_), kExitOutputFailed);
  EXPECT_EQ(readFile(dir_.file("a.ce3")), schematicText({{"R2", "22k", ""}, {"C1", "100n", "X7R"}}));
  EXPECT_EQ(runVesk(dir_, "-F", errors_), kExitNoInput);
  EXPECT_EQ(runVesk(dir_, "-F -o out.csv", errors_), kExitNoInput);
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(runVesk(dir_, "-F a.ce3 -o /dev/full", errors_), kExitOutputFailed);
  }
}

TEST_F(VeskProgram, AnOptionValueItDoesNotTakeIsSaidInOneLine) {
  EXPECT_EQ(runVesk(dir_, "-F --encoding=latin1 a.ce3", errors_), kExitBadOption);
  EXPECT_EQ(readFile(errors_), "vesk: --encoding=latin1: not a value this option takes\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.file("a.csv")));
}

TEST_F(VeskProgram, WithoutAWindowSaysSoInOneLine) {
  const int status = runVesk(dir_, "a.ce3", errors_);
  EXPECT_NE(status, 0);
  EXPECT_EQ(status, kExitNoWindow);
  const std::string message = readFile(errors_);
  ASSERT_FALSE(message.empty());
  EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
  EXPECT_NE(message.find("-F"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(dir_.file("a.csv")));
}

}  // namespace
}  // namespace vesk
