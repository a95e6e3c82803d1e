// Writes the Windows resource files of vesk from the shell's resource
// tables: one .ico file per icon ("icon_<id>.ico") and the string table
// ("strings.rc"), into the directory given as the only argument. Run by
// the build before the resource compiler, so that the executable carries
// exactly the tables' icons and texts.
#include <cstdio>
#include <string>

#include "app/resources.h"
#include "platform/win32/win32_resource_files.h"

namespace {

bool writeWhole(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_win32_resources <output directory>\n");
    return 2;
  }
  const std::string directory = std::string(argv[1]) + "/";
  const vesk::ResourceSet& resources = vesk::partsListResources();
  bool ok = writeWhole(directory + "strings.rc", vesk::stringTableScript(resources.strings));
  for (const vesk::IconResource& icon : resources.icons) {
    ok = writeWhole(directory + "icon_" + std::to_string(icon.id) + ".ico", vesk::iconFile(icon)) &&
         ok;
  }
  if (!ok) std::fprintf(stderr, "make_win32_resources: cannot write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
