// vesk-inspect: loads schematic files and tells, per file, the load result,
// the sheet size and how many objects of each type it holds. A tool for
// looking at files, not part of the conversion.
#include <cstdio>
#include <map>

#include "schfile/sch_document.h"
#include "schobj/sch_object.h"

int main(int argc, char** argv) {
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    vesk::SchDocument document;
    const int result = document.load(argv[i]);
    std::printf("%s: result %d, sheet %d x %d, %zu objects", argv[i], result,
                document.sheetSize().x, document.sheetSize().y, document.objects().size());
    std::map<int, int> byType;
    for (const auto& object : document.objects()) ++byType[object->typeId()];
    for (const auto& [type, count] : byType) std::printf(", type %d: %d", type, count);
    std::printf("\n");
    if (result != 0) status = 1;
  }
  return status;
}
