#include "convert/conversion.h"

#include "convert/csv_parts_list.h"
#include "convert/parts_list_builder.h"
#include "schfile/sch_document.h"

namespace vesk {

int runConversion(int count, const char* const* paths, std::FILE* out) {
  return runConversion(count, paths, out, CsvPartsList());
}

int runConversion(int count, const char* const* paths, std::FILE* out,
                  const PartsListWriter& format) {
  // The builder and each document are released on every path by their
  // destructors; only one document is held at a time.
  PartsListBuilder builder;
  for (int i = 0; i < count; ++i) {
    const char* path = paths != nullptr ? paths[i] : nullptr;
    SchDocument document;
    // The trace comes before the file is opened, so a file that fails has
    // one too. A missing path is a file that cannot be read.
    std::fprintf(stderr, "Read %s", path != nullptr ? path : "");
    if (document.load(path) != SchDocument::kLoaded) return kConversionInputFailed;
    builder.collect(document.objects());
  }
  builder.build();
  format.write(*builder.entries(), out);
  return kConversionOk;
}

}  // namespace vesk
