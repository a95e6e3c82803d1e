#include "convert/conversion.h"

#include "convert/csv_parts_list.h"
#include "convert/parts_list_builder.h"
#include "memory/block_cache.h"
#include "schfile/sch_document.h"

namespace vesk {

int runConversion(int count, const char* const* paths, std::FILE* out) {
  return runConversion(count, paths, out, ConversionOptions());
}

int runConversion(int count, const char* const* paths, std::FILE* out,
                  const ConversionOptions& options, ConversionReport* report) {
  std::pmr::memory_resource* const memory =
      options.memory != nullptr ? options.memory : std::pmr::new_delete_resource();
  // Every document is dropped before the next is read: the blocks of its
  // arena return to this cache, which hands them to the next one, so that
  // a run of many files touches fresh memory only for the largest. The
  // rows grow by doubling and live for the whole run: they take the C++
  // heap, which reuses what they leave behind.
  BlockCache documentMemory(memory);
  PartsListBuilder builder;
  for (int i = 0; i < count; ++i) {
    const char* path = paths != nullptr ? paths[i] : nullptr;
    SchDocument document(&documentMemory);
    // The trace comes before the file is opened, so a file that fails has
    // one too. A missing path is a file that cannot be read.
    std::fprintf(stderr, "Read %s", path != nullptr ? path : "");
    if (document.load(path) != SchDocument::kLoaded) {
      if (report != nullptr) {
        report->failedInput = i;
        report->problem = document.problem();
      }
      return kConversionInputFailed;
    }
    builder.collect(document.objects());
  }
  builder.build();
  if (report != nullptr) report->duplicates = summarizeDuplicates(*builder.entries());
  const CsvPartsList perComponent;
  (options.format != nullptr ? *options.format : perComponent).write(*builder.entries(), out);
  return kConversionOk;
}

}  // namespace vesk
