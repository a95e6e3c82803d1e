// The output file replaced in one step: what a committed, a given-up and
// a failed list leave of the output and of its folder.
#include "platform/output_file.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "tests/support/app_test_support.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::fileState;
using test::FileState;
using test::inChild;
using test::limitFileSize;
using test::namesIn;
using test::readFile;
using test::ScratchDir;
using test::writeFile;

using Names = std::set<std::string>;

// More than the stream's buffer, so that the bytes reach a file before
// commit().
const std::string kNewList = std::string(100000, 'n') + "\r\n";

bool writeList(const OutputFile& output, const std::string& bytes = kNewList) {
  return std::fwrite(bytes.data(), 1, bytes.size(), output.stream()) == bytes.size() &&
         std::fflush(output.stream()) == 0;
}

mode_t currentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

// A user who is not root (root may write anything): "nobody" in place of
// root, anyone else as they are.
bool becomeUnprivileged() {
  if (geteuid() != 0) return true;
  return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

TEST(OutputFile, TheOutputChangesOnlyWhenTheListIsCommitted) {
  enum class End { kCommit, kDiscard, kDestroy };
  struct Case {
    const char* what;
    bool exists;
    mode_t mode;
    End end;
  };
  const Case cases[] = {
      {"an existing list replaced", true, 0640, End::kCommit},
      {"group-writable bits kept past the umask", true, 0664, End::kCommit},
      {"a private list stays private", true, 0600, End::kCommit},
      {"a new list", false, 0, End::kCommit},
      {"given up: the old list stays", true, 0640, End::kDiscard},
      {"destroyed uncommitted: the old list stays", true, 0600, End::kDestroy},
      {"given up: no file appears", false, 0, End::kDiscard},
      {"destroyed uncommitted: no file appears", false, 0, End::kDestroy},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    const std::string path = dir.file("list.csv");
    if (c.exists) {
      writeFile(path, "old list\r\n");
      ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    }
    const FileState before = fileState(path);
    {
      OutputFile output;
      ASSERT_TRUE(output.open(path.c_str()));
      ASSERT_TRUE(writeList(output));
      EXPECT_EQ(fileState(path), before) << "the output changed while the list was written";
      if (c.end == End::kCommit) {
        EXPECT_TRUE(output.commit());
        EXPECT_EQ(output.stream(), nullptr);
      } else if (c.end == End::kDiscard) {
        output.discard();
        EXPECT_EQ(output.stream(), nullptr);
      }
    }
    const FileState after = fileState(path);
    if (c.end == End::kCommit) {
      EXPECT_EQ(after.bytes, kNewList);
      EXPECT_EQ(after.mode, c.exists ? c.mode : 0666 & ~currentUmask());
      if (c.exists) {
        EXPECT_NE(after.inode, before.inode) << "written over, not replaced";
      }
      EXPECT_EQ(namesIn(dir.path()), Names{"list.csv"});
    } else {
      EXPECT_EQ(after, before);
      EXPECT_EQ(namesIn(dir.path()), c.exists ? Names{"list.csv"} : Names{});
    }
  }
}

TEST(OutputFile, ALinkedOutputReplacesTheFileItPointsToAndStaysALink) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "lists");
  fs::create_directory(dir.path() / "links");
  const fs::path list = dir.path() / "lists" / "list.csv";
  const fs::path links = dir.path() / "links";
  writeFile(list.string(), "old list\r\n");
  ASSERT_EQ(chmod(list.c_str(), 0640), 0);
  fs::create_symlink("../lists/list.csv", links / "relative.csv");
  fs::create_symlink("relative.csv", links / "chain.csv");
  fs::create_symlink(list, links / "absolute.csv");
  fs::create_symlink("../lists/new.csv", links / "dangling.csv");
  const Names linkNames = namesIn(links);

  struct Case {
    const char* link;
    const char* target;  // in lists/
  };
  const Case cases[] = {{"relative.csv", "list.csv"},
                        {"chain.csv", "list.csv"},
                        {"absolute.csv", "list.csv"},
                        {"dangling.csv", "new.csv"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const fs::path link = links / c.link;
    const fs::path target = dir.path() / "lists" / c.target;
    const std::string text = std::string("through ") + c.link + "\r\n";
    const FileState before = fileState(target.string());
    {
      OutputFile givenUp;
      ASSERT_TRUE(givenUp.open(link.c_str()));
      ASSERT_TRUE(writeList(givenUp, "never seen"));
    }
    EXPECT_EQ(fileState(target.string()), before);
    OutputFile output;
    ASSERT_TRUE(output.open(link.c_str()));
    ASSERT_TRUE(writeList(output, text));
    ASSERT_TRUE(output.commit());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(link.string()), text);
    EXPECT_EQ(readFile(target.string()), text);
    if (before.exists) {
      EXPECT_EQ(fileState(target.string()).mode, 0640u);
    }
    EXPECT_EQ(namesIn(links), linkNames);
  }
  EXPECT_EQ(namesIn(dir.path() / "lists"), (Names{"list.csv", "new.csv"}));
}

TEST(OutputFile, DevicesAreWrittenDirectly) {
  if (!fs::is_character_file("/dev/null")) GTEST_SKIP() << "no /dev/null here";
  OutputFile output;
  ASSERT_TRUE(output.open("/dev/null"));
  ASSERT_TRUE(writeList(output));
  EXPECT_TRUE(output.commit());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(OutputFile, WhatFopenCannotOpenFailsAndCreatesNothing) {
  ScratchDir dir;
  writeFile(dir.file("plain"), "");
  struct Case {
    std::string path;
    int error;  // the system's reason
  };
  const Case cases[] = {
      {dir.file("no-such-folder/list.csv"), ENOENT}, {dir.path().string(), EISDIR},
      {dir.file("new.csv/"), EISDIR}, {"", ENOENT}, {dir.file("plain/list.csv"), ENOTDIR}};
  for (const Case& c : cases) {
    OutputFile output;
    EXPECT_FALSE(output.open(c.path.c_str())) << c.path;
    EXPECT_EQ(output.error(), c.error) << c.path;
    EXPECT_EQ(output.stream(), nullptr);
    EXPECT_FALSE(output.commit());
  }
  std::remove(dir.file("plain").c_str());
  EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(OutputFile, AFailedWriteLeavesTheOutputAsItWas) {
  // A file size limit makes the writes fail with EFBIG, as a full disk
  // does with ENOSPC, in a child process that runs the output file.
  for (const bool exists : {true, false}) {
    SCOPED_TRACE(exists ? "an existing list" : "no list yet");
    ScratchDir dir;
    const std::string path = dir.file("list.csv");
    if (exists) writeFile(path, "old list\r\n");
    const FileState before = fileState(path);
    const int status = inChild([] { return limitFileSize(4096); },
                               [&] {
                                 OutputFile output;
                                 if (!output.open(path.c_str())) return 2;
                                 writeList(output);
                                 if (output.commit()) return 1;
                                 return output.error() == EFBIG ? 0 : 3;
                               });
    EXPECT_EQ(status, 0) << "1: the commit succeeded, 2: open failed, 3: another reason";
    EXPECT_EQ(fileState(path), before);
    EXPECT_EQ(namesIn(dir.path()), exists ? Names{"list.csv"} : Names{});
  }
}

TEST(OutputFile, PermissionsDecideAsForFopen) {
  // The folders are the test's (root's, when it runs as root); the user
  // writing them is someone else, and never root.
  ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  const fs::path locked = dir.path() / "locked";
  const fs::path open = dir.path() / "open";
  fs::create_directory(locked);
  fs::create_directory(open);
  const std::string writable = (locked / "list.csv").string();
  const std::string readOnly = (open / "list.csv").string();
  const std::string longOld = "an old list, longer than the new one\r\n";
  writeFile(writable, longOld);
  writeFile(readOnly, longOld);
  ASSERT_EQ(chmod(writable.c_str(), 0666), 0);
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  ASSERT_EQ(chmod(open.c_str(), 0777), 0);
  ASSERT_EQ(chmod(locked.c_str(), 0555), 0);

  // A read-only file in a folder the user may write: refused as fopen
  // refuses it, never replaced.
  const FileState readOnlyBefore = fileState(readOnly);
  int status = inChild(becomeUnprivileged, [&] {
    OutputFile output;
    if (output.open(readOnly.c_str())) return 1;
    return output.error() == EACCES ? 0 : 2;
  });
  if (status == 77) GTEST_SKIP() << "cannot run as a user other than root";
  EXPECT_EQ(status, 0) << "a read-only output was opened (1), or not for want of access (2)";
  EXPECT_EQ(fileState(readOnly), readOnlyBefore);
  EXPECT_EQ(namesIn(open), Names{"list.csv"});

  // A writable file in a folder the user may not write: given up, it is
  // untouched; committed, it holds the new list and nothing of the old.
  const FileState writableBefore = fileState(writable);
  status = inChild(becomeUnprivileged, [&] {
    OutputFile output;
    return output.open(writable.c_str()) ? 0 : 1;
  });
  EXPECT_EQ(status, 0) << "a writable output in a locked folder was refused";
  EXPECT_EQ(fileState(writable), writableBefore);
  status = inChild(becomeUnprivileged, [&] {
    OutputFile output;
    if (!output.open(writable.c_str())) return 1;
    return writeList(output, "new\r\n") && output.commit() ? 0 : 2;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(readFile(writable), "new\r\n");
  EXPECT_EQ(fileState(writable).inode, writableBefore.inode);
  EXPECT_EQ(namesIn(locked), Names{"list.csv"});
  chmod(locked.c_str(), 0755);  // for the scratch folder's removal
}

}  // namespace
}  // namespace vesk
