// RunReport: what one Execute of the main dialog came to, as data.
//
// The dialog fills it in as it runs the conversion and keeps the last
// one; it tells the outcome and, for a failure, the file at fault and
// why (a reading problem of an input or of the list to compare with, the
// system's error of the output), and for a written list what it found of
// references that occur more than once, of changes, and whether entries
// of a long list were left out. The dialog's messages (Japanese, below
// the message's own text) and the command line's lines (English, on the
// standard error stream in automatic mode) are both made from it
// (app/run_messages.h), so that the two always tell the same.
#pragma once

#include <string>

#include "convert/duplicate_summary.h"
#include "convert/parts_changes.h"
#include "convert/parts_list_reader.h"
#include "schfile/read_problem.h"

namespace vesk {

enum class RunOutcome {
  kNotRun,          // Execute has not run
  kNoInput,         // the list was empty
  kWritten,         // the parts list was written
  kInputFailed,     // an input file could not be read
  kOutputNotOpened, // the output could not be opened, or it is one of the inputs
  kWriteFailed,     // writing or closing the output failed
  kEarlierListFailed,  // the list to tell the changes since could not be read
};

struct RunReport {
  RunOutcome outcome = RunOutcome::kNotRun;
  // The input that could not be read, or the output; as the list and the
  // output field hold it.
  std::string file;
  // kInputFailed: why the input could not be read.
  ReadProblem problem;
  // kOutputNotOpened and kWriteFailed: the system's error number (errno)
  // where the system told one, else 0.
  int systemError = 0;
  // kOutputNotOpened: the output names one of the inputs.
  bool outputIsInput = false;
  // The run wrote its "Read <path>" traces (which end without a line end).
  bool traced = false;
  // kWritten: the references found more than once.
  DuplicateSummary duplicates;
  // The list the run tells the changes since, where it was asked to.
  std::string changesSince;
  // kEarlierListFailed: why that list could not be read (`file` names it).
  ListProblem listProblem;
  // kWritten with changesSince: how many parts changed.
  ChangeCounts changes;
  // The list held more entries than a run reads: how many it held and
  // how many of them (the first) were read; both 0 otherwise.
  int inputsGiven = 0;
  int inputsRead = 0;
};

}  // namespace vesk
