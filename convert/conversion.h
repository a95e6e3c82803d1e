// runConversion: the one entry point of the parts-list conversion.
//
// Reads every input schematic file in order into a document, collects the
// components of all of them into one parts list and writes that list to
// `out`, a stream the caller opened for writing in binary mode (so that the
// CR LF row ends reach the file unchanged). The run neither flushes nor
// closes `out`. Before each file it writes the trace "Read <path>" (no line
// end) to the standard error stream.
//
// Given a parts list written earlier (read by convert/parts_list_reader.h),
// the run writes what changed since that list instead of a list
// (convert/changes_list.h), in the format's encoding.
//
// Returns 0 when every input was read and the list was written, -3 at the
// first input that cannot be read; then nothing has been written to `out`
// and the files after it are not opened. Given a report, the run fills in
// which input failed and why (schfile/read_problem.h), or, once the list
// is written, what it holds of references found more than once.
//
// Memory: the run owns what it reads. One document is alive at a time and
// keeps no objects: each component is made into its row as it is read,
// and the next object takes the same memory of the document's arena. The
// documents leave out the parts' pins and bitmaps, which no row needs
// (every block is still checked as strictly). The rows come from the
// resource the caller names, and all of it goes back when the run ends.
#pragma once

#include <cstdio>
#include <memory_resource>

#include "convert/duplicate_summary.h"
#include "convert/parts_changes.h"
#include "convert/parts_list_format.h"
#include "convert/shift_jis_to_utf8.h"
#include "schfile/read_problem.h"

namespace vesk {

constexpr int kConversionOk = 0;
constexpr int kConversionInputFailed = -3;

// How a run is to go, besides its inputs and its output.
struct ConversionOptions {
  // The layout and encoding of the list; the per-component list in the
  // schematic's Shift-JIS by default. A list in UTF-8 begins with the byte
  // order mark and takes the double-byte characters from `decoder` (the
  // operating system's table of code page 932, see ShiftJisToUtf8). Bytes
  // that are no Shift-JIS become U+FFFD, and each component that holds any
  // adds a warning line to the standard error stream that names its input
  // file and its reference; the run still succeeds.
  PartsListFormat format;
  ShiftJisToUtf8::Decoder decoder;
  // The list to tell the changes since, instead of writing a list; the
  // layout of `format` plays no part then. It must outlive the run.
  const ListedParts* changesSince = nullptr;
  // Where the run takes its memory from; none: the C++ heap. It must
  // outlive the run.
  std::pmr::memory_resource* memory = nullptr;
};

// What a run tells besides its result.
struct ConversionReport {
  int failedInput = -1;  // the index of the input that could not be read
  ReadProblem problem;   // why it could not be read
  // After a run that wrote its list: the references found more than once.
  DuplicateSummary duplicates;
  // After a run that wrote the changes since a list: how many parts changed.
  ChangeCounts changes;
};

// The per-component list in Shift-JIS.
int runConversion(int count, const char* const* paths, std::FILE* out);
int runConversion(int count, const char* const* paths, std::FILE* out,
                  const ConversionOptions& options, ConversionReport* report = nullptr);

}  // namespace vesk
