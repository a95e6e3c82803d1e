// Splitting paths into drive, directory, name and extension, with the
// double-byte characters of the active code page.
#include <gtest/gtest.h>

#include "app/path_parts.h"
#include "app/resources.h"
#include "platform/code_page.h"
#include "tests/support/memory_host.h"

namespace vesk {
namespace {

struct SplitCase {
  unsigned codePage;
  std::string path;
  std::string drive, directory, name, extension;
};

TEST(PathParts, SplitsLikeTheWindowsRuntime) {
  const SplitCase cases[] = {
      {kCodePageUtf8, "C:\\data\\amp.ce3", "C:", "\\data\\", "amp",
       ".ce3"},
      {kCodePageUtf8, "D:\\x\\filter.CE3", "D:", "\\x\\", "filter", ".CE3"},
      {kCodePageUtf8, "/home/u/a.b.ce3", "", "/home/u/", "a.b", ".ce3"},
      {kCodePageUtf8, "dir.x/name", "", "dir.x/", "name", ""},
      {kCodePageUtf8, "mixed\\sep/last.txt", "", "mixed\\sep/", "last", ".txt"},
      {kCodePageUtf8, "C:name.ce3", "C:", "", "name", ".ce3"},
      {kCodePageUtf8, "noext", "", "", "noext", ""},
      {kCodePageUtf8, "trailing.", "", "", "trailing", "."},
      {kCodePageUtf8, "", "", "", "", ""},
      // Shift-JIS: 0x95 0x5C is one character; its trail byte is no separator,
      // so the dot before it still starts the extension.
      {kCodePageShiftJis, "x\\v1.\x95\x5C", "", "x\\", "v1", ".\x95\x5C"},
      {kCodePageUtf8, "x\\v1.\x95\x5C", "", "x\\v1.\x95\x5C", "", ""},
      {kCodePageShiftJis, "C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C.ce3", "C:",
       "\\\x83\x5C\x83\x74\x83\x67\\", "\x95\x5C", ".ce3"},
      // A lead byte at the very end has no trail byte to swallow.
      {kCodePageShiftJis, "a\\b\x95", "", "a\\", "b\x95", ""},
  };
  for (const SplitCase& c : cases) {
    CMemoryHost host(partsListResources(), {"vesk"});
    host.SetCodePage(c.codePage);
    const PathParts parts = PathParts::Split(c.path, host);
    EXPECT_EQ(parts.drive, c.drive) << c.path;
    EXPECT_EQ(parts.directory, c.directory) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
    EXPECT_EQ(parts.extension, c.extension) << c.path;
    EXPECT_EQ(parts.WithExtension(parts.extension), c.path) << "split loses bytes: " << c.path;
  }
}

TEST(CodePage, KnowsTheShiftJisLeadBytes) {
  EXPECT_TRUE(isLeadByteInCodePage(kCodePageShiftJis, 0x81));
  EXPECT_TRUE(isLeadByteInCodePage(kCodePageShiftJis, 0x9F));
  EXPECT_TRUE(isLeadByteInCodePage(kCodePageShiftJis, 0xE0));
  EXPECT_TRUE(isLeadByteInCodePage(kCodePageShiftJis, 0xFC));
  EXPECT_FALSE(isLeadByteInCodePage(kCodePageShiftJis, 0x80));
  EXPECT_FALSE(isLeadByteInCodePage(kCodePageShiftJis, 0xA0));  // half-width katakana
  EXPECT_FALSE(isLeadByteInCodePage(kCodePageShiftJis, 0xDF));
  EXPECT_FALSE(isLeadByteInCodePage(kCodePageShiftJis, 0xFD));
  EXPECT_FALSE(isLeadByteInCodePage(kCodePageShiftJis, '\\'));
  EXPECT_FALSE(isLeadByteInCodePage(kCodePageUtf8, 0xE3));
}

}  // namespace
}  // namespace vesk
