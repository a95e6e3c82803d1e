// Dropped "text/uri-list" data: which entries name local files, and the
// bytes of their paths.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/uri_list.h"

namespace vesk {
namespace {

struct UriCase {
  const char* uri;
  std::optional<std::string> path;
};

TEST(UriList, FileUrisDecodeToLocalPaths) {
  const std::vector<UriCase> cases = {
      {"file:///home/u/a.ce3", "/home/u/a.ce3"},
      {"file://localhost/home/u/a.ce3", "/home/u/a.ce3"},
      {"FILE://LocalHost/x.ce3", "/x.ce3"},
      {"file://workbench/x.ce3", "/x.ce3"},  // this machine's own name
      {"file:/short/form.ce3", "/short/form.ce3"},
      {"file:///a%20b/%E5%9B%9E%E8%B7%AF.ce3", "/a b/回路.ce3"},
      {"file:///latin1/%E9t%E9.ce3", "/latin1/\xE9t\xE9.ce3"},  // not UTF-8, kept as bytes
      {"file:///pct/100%25.ce3", "/pct/100%.ce3"},
      {"file:///%2Fslash", "//slash"},
      {"file://otherhost/x.ce3", std::nullopt},
      {"http://example.org/x.ce3", std::nullopt},
      {"sftp:///x.ce3", std::nullopt},
      {"file:///bad%zzescape.ce3", std::nullopt},
      {"file:///cut%E", std::nullopt},
      {"file:///cut%", std::nullopt},
      {"file:///zero%00byte", std::nullopt},
      {"file://", std::nullopt},
      {"file:relative/x.ce3", std::nullopt},
      {"file:///x.ce3#fragment", std::nullopt},
      {"fil", std::nullopt},
  };
  for (const UriCase& c : cases) {
    EXPECT_EQ(localPathFromFileUri(c.uri, "workbench"), c.path) << c.uri;
  }
  // Without a known host name only the empty host and localhost are local.
  EXPECT_EQ(localPathFromFileUri("file://workbench/x.ce3", ""), std::nullopt);
}

TEST(UriList, ListKeepsOrderAndSkipsCommentsBlanksAndForeignEntries) {
  const std::string list =
      "# dragged from the file manager\r\n"
      "file:///d/a.ce3\r\n"
      "\r\n"
      "http://example.org/b.ce3\r\n"
      "file:///d/a.ce3\r\n"         // duplicates are the receiver's business
      "  file:///d/c.txt  \r\n"     // stray blanks around an entry
      "file:///d/last%20one.CE3";   // no line end after the last entry
  EXPECT_EQ(localPathsFromUriList(list, "host"),
            (std::vector<std::string>{"/d/a.ce3", "/d/a.ce3", "/d/c.txt", "/d/last one.CE3"}));
  EXPECT_EQ(localPathsFromUriList("file:///lf/only\nfile:///second\n", "host"),
            (std::vector<std::string>{"/lf/only", "/second"}));
  EXPECT_TRUE(localPathsFromUriList("", "host").empty());
  EXPECT_TRUE(localPathsFromUriList(std::string("\0\0", 2), "host").empty());
}

}  // namespace
}  // namespace vesk
