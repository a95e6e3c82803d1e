// PartsListWriter: one format of the parts-list file.
//
// The conversion run builds the sorted rows once and hands them to the
// writer of the format asked for; a new format is a new writer, and the
// builder does not change. A writer holds no state of a run: one object
// may write any number of lists, one after the other.
#pragma once

#include <cstdio>

#include "convert/parts_list_entry.h"

namespace vesk {

class PartsListWriter {
 public:
  virtual ~PartsListWriter() = default;

  // Writes `rows`, in the order given, to `out` (opened for writing in
  // binary mode, so that CR LF row ends stay as they are). The writer
  // neither flushes nor closes `out`; write errors of the stream are the
  // caller's to see (ferror, fclose).
  virtual void write(const SortedPartsList& rows, std::FILE* out) const = 0;
};

}  // namespace vesk
