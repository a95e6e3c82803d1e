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

#include "convert/parts_list_format.h"
#include "convert/shift_jis_to_utf8.h"

namespace vesk {

class PartsListWriter;

constexpr int kConversionOk = 0;
constexpr int kConversionInputFailed = -3;

// The list in the per-component CSV format (convert/csv_parts_list.h).
int runConversion(int count, const char* const* paths, std::FILE* out);
// The list in the format of `format`.
int runConversion(int count, const char* const* paths, std::FILE* out,
                  const PartsListWriter& format);
// The list in the layout and encoding `format` names. A list in UTF-8
// begins with the byte order mark and takes the double-byte characters
// from `decoder` (the operating system's table of code page 932, see
// ShiftJisToUtf8), which is not called for a list in Shift-JIS. Bytes that
// are no Shift-JIS become U+FFFD, and each component that holds any adds a
// warning line to the standard error stream that names its input file and
// its reference; the run still succeeds.
int runConversion(int count, const char* const* paths, std::FILE* out,
                  const PartsListFormat& format, const ShiftJisToUtf8::Decoder& decoder);

}  // namespace vesk
