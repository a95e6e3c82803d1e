// runConversion: the one entry point of the parts-list conversion.
//
// Reads every input schematic file in order into a document, collects the
// components of all of them into one parts list and writes that list to
// `out`, a stream the caller opened for writing in binary mode (so that the
// CR LF row ends reach the file unchanged). The run neither flushes nor
// closes `out`. Before each file it writes the trace "Read <path>" (no line
// end) to the standard error stream.
//
// Returns 0 when every input was read and the list was written, -3 at the
// first input that cannot be read; then nothing has been written to `out`
// and the files after it are not opened.
#pragma once

#include <cstdio>

namespace vesk {

class PartsListWriter;

constexpr int kConversionOk = 0;
constexpr int kConversionInputFailed = -3;

// The list in the per-component CSV format (convert/csv_parts_list.h).
int runConversion(int count, const char* const* paths, std::FILE* out);
// The list in the format of `format`.
int runConversion(int count, const char* const* paths, std::FILE* out,
                  const PartsListWriter& format);

}  // namespace vesk
