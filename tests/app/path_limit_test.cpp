// The host's path limit: Windows cuts dropped paths to MAX_PATH and sizes
// the gathering of Execute for 64 such paths, refusing a longer entry; a
// POSIX host reports the system's limit, so longer paths arrive whole and
// 64 of them still fit.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "app/parts_list_dlg.h"
#include "tests/support/app_test_support.h"

namespace vesk {
namespace {

using test::interactiveHost;
using test::readFile;
using test::runShell;
using test::schematicText;
using test::ScratchDir;
using test::writeFile;

// A schematic at the end of a chain of directories, its path about
// `length` bytes long.
std::string deepSchematic(const ScratchDir& dir, std::size_t length) {
  std::filesystem::path path = dir.path();
  while (path.string().size() + 100 < length) path /= std::string(90, 'd');
  std::filesystem::create_directories(path);
  const std::string file = (path / "deep.ce3").string();
  writeFile(file, schematicText({{"R1", "1k", ""}}));
  return file;
}

struct LimitCase {
  std::size_t maxPath;
  bool pathKeptWhole;
};

void PrintTo(const LimitCase& limit, std::ostream* out) { *out << "max path " << limit.maxPath; }

class PathLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PathLimit, DroppedAndChosenPathsAreCutOnlyAtTheHostsLimit) {
  const LimitCase limit = GetParam();
  const std::string longPath = "/" + std::string(400, 'p') + "/a.ce3";
  auto host = interactiveHost();
  host->SetMaxPathLength(limit.maxPath);
  host->AnswerFileDialog({longPath + ".net"});
  runShell(*host, [&](CMemoryHost& user) {
    EXPECT_TRUE(user.DropFiles(kIdcInputList, {longPath}));
    const auto entries = user.ListEntries(kIdcInputList);
    if (limit.pathKeptWhole) {
      EXPECT_EQ(entries, std::vector<std::string>{longPath});
    } else {
      // Cut to 259 bytes, the extension is gone and the drop is skipped.
      EXPECT_TRUE(entries.empty());
    }
    user.PressButton(kIdcBrowseOutput);
    // A choice longer than the buffer fails the dialog: no change.
    EXPECT_EQ(user.ControlText(kIdcOutputName),
              limit.pathKeptWhole ? longPath + ".net" : std::string());
    user.PressButton(kIdCancel);
  });
  ASSERT_EQ(host->FileDialogs().size(), 1u);
  EXPECT_EQ(host->FileDialogs()[0].bufferSize, limit.maxPath);
}

TEST_P(PathLimit, ExecuteGathers64PathsOfTheHostsLength) {
  const LimitCase limit = GetParam();
  ScratchDir dir;
  const std::string input = deepSchematic(dir, 600);
  ASSERT_GT(input.size(), 500u);
  std::vector<std::string> args = {"-o", dir.file("out.csv")};
  for (int i = 0; i < 64; ++i) args.push_back(input);
  auto host = interactiveHost(args);
  host->SetMaxPathLength(limit.maxPath);
  runShell(*host, [](CMemoryHost& user) {
    user.PressButton(kIdOk);
    user.PressButton(kIdCancel);
  });
  // Each path has the room of one path of the host: on Windows these are
  // too long and fail the run, on POSIX all 64 are read.
  std::string expected;
  if (limit.pathKeptWhole) {
    expected = ",\"R\",1,\"1k\",\"\"\r\n";
    for (int i = 1; i < 64; ++i) expected += "*,\"R\",1,\"1k\",\"\"\r\n";
  }
  EXPECT_EQ(readFile(dir.file("out.csv")), expected);
}

INSTANTIATE_TEST_SUITE_P(Hosts, PathLimit,
                         ::testing::Values(LimitCase{kMaxPath, false}, LimitCase{PATH_MAX, true}),
                         [](const auto& param) {
                           return param.param.pathKeptWhole ? std::string("SystemLimit")
                                                            : std::string("WindowsLimit");
                         });

}  // namespace
}  // namespace vesk
