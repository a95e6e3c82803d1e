// Why a file failed, as the document reader tells it: for every way of
// breaking a file (tests/support/bad_schematics.h), read from memory and
// from a file, the kind of problem, the line, the block and the key or
// field named.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "schfile/sch_document.h"
#include "tests/support/bad_schematics.h"

namespace vesk {
namespace {

void expectProblem(const ReadProblem& problem, const test::BadSchematic& bad) {
  EXPECT_EQ(problem.kind, bad.kind);
  EXPECT_EQ(problem.line, bad.line);
  EXPECT_EQ(problem.blockLine, bad.blockLine);
  EXPECT_EQ(problem.block, bad.block);
  EXPECT_EQ(problem.key, bad.key);
  EXPECT_EQ(problem.found, bad.found);
  EXPECT_EQ(problem.systemError, 0);
}

TEST(ReadProblem, EachBrokenFileNamesItsLineBlockAndKey) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("vesk-problem-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ".ce3");
  for (const test::BadSchematic& bad : test::badSchematics()) {
    SCOPED_TRACE(bad.title);
    SchDocument document;
    EXPECT_EQ(document.readMemory(bad.bytes), bad.result);
    expectProblem(document.problem(), bad);
    EXPECT_TRUE(document.objects().empty() || bad.result == 1);

    // From a file the reader takes its fields from its own buffer: the
    // same problem.
    std::ofstream(path, std::ios::binary) << bad.bytes;
    SchDocument loaded;
    EXPECT_EQ(loaded.load(path.string().c_str()), bad.result);
    expectProblem(loaded.problem(), bad);
  }
  std::filesystem::remove(path);
}

TEST(ReadProblem, AGoodReadForgetsTheLastProblem) {
  SchDocument document;
  ASSERT_EQ(document.readMemory(test::badSchematics().front().bytes), 1);
  ASSERT_TRUE(document.problem().failed());
  EXPECT_EQ(document.readMemory(test::badFileStart() + test::goodComponent("R1")), 0);
  EXPECT_FALSE(document.problem().failed());
}

TEST(ReadProblem, AFileThatCannotBeOpenedTellsTheSystemsReason) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  struct Case {
    std::string path;
    int systemError;
  };
  // A folder fails as a file that cannot be opened on every system,
  // whether the system refuses to open it or to read it.
  const Case cases[] = {
      {(folder / "vesk-no-such-file.ce3").string(), ENOENT},
      {folder.string(), EISDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    SchDocument document;
    EXPECT_EQ(document.load(c.path.c_str()), 1);
    EXPECT_EQ(document.problem().kind, ReadProblem::Kind::kCannotOpen);
    EXPECT_EQ(document.problem().systemError, c.systemError);
    EXPECT_EQ(document.problem().line, 0);
  }
}

#if defined(__GLIBC__)
// A stream that hands out `bytes` and then fails, as a disk that fails or
// a network drive that goes away mid-file.
struct FailingSource {
  std::string bytes;
  std::size_t at = 0;
};

ssize_t readThenFail(void* cookie, char* buffer, std::size_t size) {
  auto& source = *static_cast<FailingSource*>(cookie);
  if (source.at == source.bytes.size()) {
    errno = EIO;
    return -1;
  }
  const std::size_t n = std::min(size, source.bytes.size() - source.at);
  source.bytes.copy(buffer, n, source.at);
  source.at += n;
  return static_cast<ssize_t>(n);
}
#endif

TEST(ReadProblem, AReadErrorMidFileIsNotTheEndOfTheFile) {
#if defined(__GLIBC__)
  // Whole blocks, then the error: taken for the end of the file, they
  // would make a good sheet of the first component alone.
  std::ifstream file(std::string(VESK_EXAMPLES_DIR) + "/amp_main.ce3", std::ios::binary);
  const std::string whole{std::istreambuf_iterator<char>(file), {}};
  FailingSource source{whole.substr(0, whole.find("-COMPONENT") + 10)};
  std::FILE* stream = fopencookie(&source, "r", {readThenFail, nullptr, nullptr, nullptr});
  ASSERT_NE(stream, nullptr);
  SchDocument document;
  EXPECT_EQ(document.read(stream), 1);
  EXPECT_EQ(document.problem().kind, ReadProblem::Kind::kReadError);
  EXPECT_EQ(document.problem().systemError, EIO);
  std::fclose(stream);
#else
  GTEST_SKIP() << "needs fopencookie (glibc)";
#endif
}

}  // namespace
}  // namespace vesk
