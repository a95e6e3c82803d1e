// The vesk program itself, run as a separate process on files in a
// scratch directory: output bytes and exit status.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "convert/list_headers.h"
#include "tests/support/app_test_support.h"
#include "tests/support/bad_schematics.h"

namespace vesk {
namespace {

using test::FileState;
using test::fileState;
using test::namesIn;
using test::Part;
using test::readFile;
using test::schematicText;
using test::ScratchDir;
using test::writeFile;

using Names = std::set<std::string>;

// Resistors R1 to R`count`.
std::vector<Part> manyParts(int count) {
  std::vector<Part> parts;
  for (int i = 1; i <= count; ++i) parts.push_back({"R" + std::to_string(i), "10k", "1/4W"});
  return parts;
}

// Runs `vesk <arguments>` in `directory` with stderr into `errors` (and
// stdout into `output`, where one is named), after the shell commands
// `setUp`; the exit status, or -1 when the program did not end normally.
int runVesk(const ScratchDir& directory, const std::string& arguments, const std::string& errors,
            const std::string& setUp = "", const std::string& output = "") {
  // Without a display, so that no window opens where the tests run on a desktop.
  const std::string command = "cd '" + directory.path().string() + "' && " + setUp +
                              "env -u DISPLAY -u WAYLAND_DISPLAY '" VESK_PROGRAM "' " +
                              arguments + " 2>'" + errors + "'" +
                              (output.empty() ? "" : " >'" + output + "'");
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
  // R2 stands on two rows, with one name: said in a line after the traces.
  EXPECT_EQ(readFile(errors_),
            "Read a.ce3Read b.ce3\nvesk: 4 rows; 1 reference appears more than once, with one "
            "name\n");
}

// Every broken file of the table, between two good ones: the traces end
// at the bad file, then one line names it, the line and why.
TEST_F(VeskProgram, ABrokenFileIsNamedWithItsLineAndWhy) {
  for (const test::BadSchematic& bad : test::badSchematics()) {
    SCOPED_TRACE(bad.title);
    writeFile(dir_.file("bad.ce3"), bad.bytes);
    EXPECT_EQ(runVesk(dir_, "-F a.ce3 bad.ce3 b.ce3 -o out.csv", errors_), kExitInputFailed);
    EXPECT_EQ(readFile(errors_), "Read a.ce3Read bad.ce3\nvesk: bad.ce3:" +
                                     std::to_string(bad.line) + ": " + bad.reason + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir_.file("out.csv")));
  }
}

TEST_F(VeskProgram, AFileThatCannotBeOpenedTellsTheSystemsReason) {
  std::filesystem::create_directory(dir_.file("folder.ce3"));
  writeFile(dir_.file("locked.ce3"), readFile(dir_.file("a.ce3")));
  ASSERT_EQ(chmod(dir_.file("locked.ce3").c_str(), 0), 0);
  // Root may read any file: the locked file is read as nobody.
  const bool asRoot = geteuid() == 0;
  const std::string user = asRoot ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  ASSERT_EQ(chmod(dir_.path().c_str(), 0777), 0);
  struct Case {
    const char* input;
    const char* reason;
  };
  const Case cases[] = {
      {"missing.ce3", "cannot open: No such file or directory"},
      {"folder.ce3", "cannot open: Is a directory"},
      {"a.ce3/inner.ce3", "cannot open: Not a directory"},
      {"locked.ce3", "cannot open: Permission denied"},
  };
  const bool canLock = !asRoot || std::system("command -v setpriv >/dev/null") == 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    if (std::string(c.input) == "locked.ce3" && !canLock) continue;
    EXPECT_EQ(runVesk(dir_, "-F b.ce3 " + std::string(c.input) + " -o out.csv", errors_, user),
              kExitInputFailed);
    EXPECT_EQ(readFile(errors_), "Read b.ce3Read " + std::string(c.input) + "\nvesk: " +
                                     c.input + ": " + c.reason + "\n");
  }
}

TEST_F(VeskProgram, AnOutputThatCannotBeWrittenIsNamedWithTheSystemsReason) {
  struct Case {
    const char* arguments;
    int status;
    const char* said;
  };
  const Case cases[] = {
      // Refused before any input is read: no trace.
      {"-F a.ce3 -o no/such/dir.csv", kExitOutputFailed,
       "vesk: no/such/dir.csv: cannot open for writing: No such file or directory\n"},
      {"-F a.ce3 -o .", kExitOutputFailed, "vesk: .: cannot open for writing: Is a directory\n"},
      {"-F a.ce3 -o ./a.ce3", kExitOutputFailed,
       "vesk: ./a.ce3: is one of the input files; nothing is written\n"},
      {"-F a.ce3 -o /dev/full", kExitOutputFailed,
       "Read a.ce3\nvesk: /dev/full: cannot write: No space left on device\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    if (std::string(c.arguments).find("/dev/full") != std::string::npos &&
        !std::filesystem::exists("/dev/full")) {
      continue;
    }
    EXPECT_EQ(runVesk(dir_, c.arguments, errors_), c.status);
    EXPECT_EQ(readFile(errors_), c.said);
  }
}

TEST_F(VeskProgram, HelpVersionAndAMissingInputAnswerAsCommandLineProgramsDo) {
  const std::string output = errors_ + ".out";
  // No display is needed for either.
  EXPECT_EQ(runVesk(dir_, "--help", errors_, "", output), 0);
  const std::string help = readFile(output);
  EXPECT_EQ(help.rfind("usage: vesk [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis] [--changes-since=FILE]\n", 0), 0u) << help;
  EXPECT_NE(help.find("Exit status:"), std::string::npos) << help;
  EXPECT_EQ(readFile(errors_), "");
  EXPECT_EQ(runVesk(dir_, "a.ce3 -F --help", errors_, "", output), 0);
  EXPECT_EQ(readFile(output), help);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("a.csv")));

  EXPECT_EQ(runVesk(dir_, "--version", errors_, "", output), 0);
  EXPECT_EQ(readFile(output), "vesk 0.31\n");
  EXPECT_EQ(readFile(errors_), "");

  // Only the whole arguments: "-help" is a flag h, which drops a.ce3.
  EXPECT_EQ(runVesk(dir_, "-F -help a.ce3", errors_, "", output), kExitNoInput);
  EXPECT_EQ(runVesk(dir_, "-F", errors_, "", output), kExitNoInput);
  EXPECT_EQ(readFile(output), "");
  EXPECT_EQ(readFile(errors_),
            "vesk: -F needs at least one input file\n"
            "usage: vesk [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis] [--changes-since=FILE]\n");
  std::remove(output.c_str());
}

TEST_F(VeskProgram, ExitStatusTellsTheOutcome) {
  writeFile(dir_.file("out.csv"), "old contents");
  EXPECT_EQ(runVesk(dir_, "-F a.ce3 missing.ce3 -o out.csv", errors_), kExitInputFailed);
  EXPECT_EQ(readFile(dir_.file("out.csv")), "old contents");  // left as it was
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

TEST_F(VeskProgram, GoodThenBadThenGoodKeepsTheLastGoodList) {
  writeFile(dir_.file("broken.ce3"), "+KOLVA_DATA_V.1.0\r\n+COMPONENT\r\n+KOLVA_LIB_V.1.0\r\n");
  const Names names = {"a.ce3", "b.ce3", "broken.ce3", "out.csv"};
  ASSERT_EQ(runVesk(dir_, "-F a.ce3 b.ce3 -o out.csv", errors_), kExitWritten);
  ASSERT_EQ(chmod(dir_.file("out.csv").c_str(), 0640), 0);
  const FileState good = fileState(dir_.file("out.csv"));
  EXPECT_EQ(good.bytes,
            ",\"C\",1,\"100n\",\"X7R\"\r\n"
            ",\"R\",1,\"10k\",\"1/4W\"\r\n"
            ",\"R\",2,\"22k\",\"\"\r\n"
            "*,\"R\",2,\"22k\",\"\"\r\n");
  EXPECT_EQ(namesIn(dir_.path()), names);

  EXPECT_EQ(runVesk(dir_, "-F a.ce3 b.ce3 broken.ce3 -o out.csv", errors_), kExitInputFailed);
  EXPECT_EQ(fileState(dir_.file("out.csv")), good);
  EXPECT_EQ(namesIn(dir_.path()), names);

  EXPECT_EQ(runVesk(dir_, "-F b.ce3 -o out.csv", errors_), kExitWritten);
  const FileState replaced = fileState(dir_.file("out.csv"));
  EXPECT_EQ(replaced.bytes, ",\"R\",1,\"10k\",\"1/4W\"\r\n,\"R\",2,\"22k\",\"\"\r\n");
  EXPECT_EQ(replaced.mode, 0640u);
  EXPECT_EQ(namesIn(dir_.path()), names);

  // Where there was no list, a failed run makes none.
  EXPECT_EQ(runVesk(dir_, "-F broken.ce3", errors_), kExitInputFailed);
  EXPECT_EQ(namesIn(dir_.path()), names);
}

TEST_F(VeskProgram, AFailedWriteKeepsTheOldList) {
  writeFile(dir_.file("many.ce3"), schematicText(manyParts(300)));
  writeFile(dir_.file("out.csv"), "old list\r\n");
  const FileState before = fileState(dir_.file("out.csv"));
  // Files may not grow beyond 1 KiB (2 blocks of 512 bytes in sh, of
  // 1 KiB in bash), and beyond it writes fail with EFBIG as on a full
  // disk, rather than ending the program.
  EXPECT_EQ(runVesk(dir_, "-F many.ce3 -o out.csv", errors_, "trap '' XFSZ && ulimit -f 2 && "),
            kExitOutputFailed);
  EXPECT_EQ(readFile(errors_), "Read many.ce3\nvesk: out.csv: cannot write: File too large\n");
  EXPECT_EQ(fileState(dir_.file("out.csv")), before);
  EXPECT_EQ(namesIn(dir_.path()), (Names{"a.ce3", "b.ce3", "many.ce3", "out.csv"}));
}

TEST_F(VeskProgram, AFullFileSystemKeepsTheOldList) {
  // A tmpfs of 16 KiB in a mount namespace of its own, where the old list
  // takes one page and the new one (about 40 KiB) finds no room. The
  // mount ends with the namespace, so the shell records what it sees.
  if (std::system("unshare -rm true 2>/dev/null") != 0) {
    GTEST_SKIP() << "no mount namespace can be made here (unshare -rm)";
  }
  writeFile(dir_.file("many.ce3"), schematicText(manyParts(2000)));
  ASSERT_TRUE(std::filesystem::create_directory(dir_.file("full")));
  writeFile(dir_.file("full.sh"),
            "mount -t tmpfs -o size=16k vesk-full full || exit 1\n"
            "printf 'old list\\r\\n' >full/out.csv && chmod 640 full/out.csv || exit 1\n"
            "stat -c '%i %a %y %z %s' full/out.csv >before\n"
            "'" VESK_PROGRAM "' -F many.ce3 -o full/out.csv 2>said\n"
            "echo $? >status\n"
            "stat -c '%i %a %y %z %s' full/out.csv >after\n"
            "cp full/out.csv bytes && ls -A full >names\n");
  const std::string command =
      "cd '" + dir_.path().string() + "' && unshare -rm sh full.sh 2>'" + errors_ + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << readFile(errors_);
  EXPECT_EQ(readFile(dir_.file("status")), std::to_string(kExitOutputFailed) + "\n");
  EXPECT_EQ(readFile(dir_.file("after")), readFile(dir_.file("before")));
  EXPECT_EQ(readFile(dir_.file("bytes")), "old list\r\n");
  EXPECT_EQ(readFile(dir_.file("names")), "out.csv\n");
  EXPECT_EQ(readFile(dir_.file("said")),
            "Read many.ce3\nvesk: full/out.csv: cannot write: No space left on device\n");
}

TEST_F(VeskProgram, AKilledRunLeavesTheOldList) {
  // Large enough that the last file is still being read when the trace
  // names it; the temporary file for the list exists by then.
  writeFile(dir_.file("big.ce3"), schematicText(manyParts(100000)));
  writeFile(dir_.file("out.csv"), "old list\r\n");
  const FileState before = fileState(dir_.file("out.csv"));
  const std::string program = VESK_PROGRAM;
  const pid_t child = fork();
  if (child == 0) {
    const int errors = open(errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (errors < 0 || dup2(errors, 2) < 0 || chdir(dir_.path().c_str()) != 0) _exit(126);
    execl(program.c_str(), program.c_str(), "-F", "a.ce3", "big.ce3", "-o", "out.csv", nullptr);
    _exit(127);
  }
  ASSERT_GT(child, 0);
  int status = 0;
  bool ended = false;
  for (int i = 0; i < 20000 && readFile(errors_).find("Read big.ce3") == std::string::npos; ++i) {
    ended = waitpid(child, &status, WNOHANG) == child;
    if (ended) break;
    usleep(500);
  }
  if (!ended) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  ASSERT_TRUE(WIFSIGNALED(status)) << "the conversion ended before it could be killed";
  EXPECT_EQ(fileState(dir_.file("out.csv")), before);
  EXPECT_EQ(namesIn(dir_.path()), (Names{"a.ce3", "b.ce3", "big.ce3", "out.csv"}));
}

// The changes since a list written earlier, and lists it cannot compare
// with: named with the reason, and the output left as it was.
TEST_F(VeskProgram, ChangesSinceTheListOrderedFrom) {
  std::string header;
  for (const std::string_view text : kChangesListHeader) {
    header += (header.empty() ? "\"" : ",\"") + std::string(text) + "\"";
  }
  header += "\r\n";
  ASSERT_EQ(runVesk(dir_, "-F a.ce3 --grouped -o ordered.csv", errors_), kExitWritten);
  EXPECT_EQ(runVesk(dir_, "-F a.ce3 --changes-since=ordered.csv -o changes.csv", errors_),
            kExitWritten);
  EXPECT_EQ(readFile(dir_.file("changes.csv")), header);
  EXPECT_EQ(readFile(errors_), "Read a.ce3\nvesk: no part changed since ordered.csv\n");
  // 追加 (added) and 削除 (removed).
  EXPECT_EQ(runVesk(dir_, "-F b.ce3 --changes-since=ordered.csv -o changes.csv", errors_),
            kExitWritten);
  const FileState changes = fileState(dir_.file("changes.csv"));
  EXPECT_EQ(changes.bytes, header +
                               "\"\x92\xc7\x89\xc1\",\"10k\",\"1/4W\",0,1,+1,\"R1\",\"\"\r\n"
                               "\"\x8d\xed\x8f\x9c\",\"100n\",\"X7R\",1,0,-1,\"\",\"C1\"\r\n");
  EXPECT_EQ(readFile(errors_),
            "Read b.ce3\nvesk: 2 parts changed since ordered.csv: 1 added, 1 removed, 0 changed\n");

  writeFile(dir_.file("broken.csv"), ",\"R\",1,\"10k\",\"\"\r\n,\"R\",2,\"10k\"\r\n");
  std::filesystem::create_directory(dir_.file("folder.csv"));
  struct Case {
    const char* list;
    int status;
    const char* said;
  };
  const Case cases[] = {
      {"broken.csv", kExitInputFailed,
       "vesk: broken.csv:2: a row of the per-component list has 5 fields; this one has 4\n"},
      {"missing.csv", kExitInputFailed,
       "vesk: missing.csv: cannot open: No such file or directory\n"},
      // POSIX opens a folder and fails its first read: no empty list.
      {"folder.csv", kExitInputFailed, "vesk: folder.csv: cannot open: Is a directory\n"},
      {"./changes.csv", kExitOutputFailed,
       "vesk: changes.csv: is one of the input files; nothing is written\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    EXPECT_EQ(runVesk(dir_, "-F b.ce3 --changes-since=" + std::string(c.list) + " -o changes.csv",
                      errors_),
              c.status);
    EXPECT_EQ(readFile(errors_), c.said);
    EXPECT_EQ(fileState(dir_.file("changes.csv")), changes);
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
