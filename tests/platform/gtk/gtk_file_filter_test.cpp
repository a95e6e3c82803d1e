// The file chooser's filters through GTK's own matcher: the patterns the
// host builds must find schematic and netlist files whatever the letter
// case of their names. No display is needed for filters.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/file_filter.h"

namespace vesk {
namespace {

bool gtkFilterAccepts(const FileFilter& filter, const char* name) {
  GtkFileFilter* gtkFilter = gtk_file_filter_new();
  g_object_ref_sink(gtkFilter);
  for (const std::string& pattern : filter.patterns) {
    gtk_file_filter_add_pattern(gtkFilter, pattern.c_str());
  }
  GtkFileFilterInfo info{};
  info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
  info.display_name = name;
  const bool accepted = gtk_file_filter_filter(gtkFilter, &info);
  g_object_unref(gtkFilter);
  return accepted;
}

TEST(GtkFileFilter, ShellFiltersMatchAnyLetterCase) {
  using namespace std::string_literals;
  const auto input = fileFiltersFromPairs("Kolva data(*.ce3)\0*.CE3\0\0"s);
  const auto output = fileFiltersFromPairs("Netlist(*.net)\0*.NET\0\0"s);
  ASSERT_EQ(input.size(), 1u);
  ASSERT_EQ(output.size(), 1u);
  for (const char* name : {"amp.ce3", "AMP.CE3", "amp.cE3", "回路図.Ce3"}) {
    EXPECT_TRUE(gtkFilterAccepts(input[0], name)) << name;
    EXPECT_FALSE(gtkFilterAccepts(output[0], name)) << name;
  }
  for (const char* name : {"amp.ce3.bak", "amp.ce", "amp.csv", "ce3"}) {
    EXPECT_FALSE(gtkFilterAccepts(input[0], name)) << name;
  }
  for (const char* name : {"x.net", "X.NET", "x.Net"}) {
    EXPECT_TRUE(gtkFilterAccepts(output[0], name)) << name;
  }
}

}  // namespace
}  // namespace vesk
