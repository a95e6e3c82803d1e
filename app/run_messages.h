// What a run tells the user, in the two places it is told.
//
// The command line (automatic mode) writes English lines in the usual form
// of command-line programs, "PROGRAM: FILE:LINE: reason" (or
// "PROGRAM: FILE: reason" where no line applies), on the standard error
// stream. The dialog shows its message's text (102 to 105) with the file
// and the reason in Japanese below it, from the string table, so that
// every host shows them in its own code page. Both are made from one
// RunReport and say the same.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/run_report.h"
#include "convert/duplicate_summary.h"
#include "convert/parts_changes.h"
#include "convert/parts_list_reader.h"
#include "schfile/read_problem.h"

namespace vesk {

class CUiHost;

// English, for the command line.
// Why an input could not be read: "block COMPONENT ends without its
// required key LIB".
std::string englishReason(const ReadProblem& problem);
// The system's text of an error number: "No space left on device".
std::string englishSystemError(int errorNumber);
// "120 rows; 3 references appear more than once; 2 with different names:
// R12, U3"; empty when no reference occurs twice.
std::string englishDuplicates(const DuplicateSummary& summary);
// Why a parts list to compare with could not be read: "a row of the
// grouped list has 5 fields; this one has 4".
std::string englishListReason(const ListProblem& problem);
// "3 parts changed since old.csv: 1 added, 1 removed, 1 changed", or "no
// part changed since old.csv".
std::string englishChanges(const ChangeCounts& counts, std::string_view list);
// Everything the command line writes after a run of the automatic mode:
// a line end after the traces where the run wrote any, then one line for
// a failure, or for a written list one for entries left out of a long
// list, one for duplicates and one for the changes since a list; for a
// run without any input, the reason and the usage line. Empty when there
// is nothing to say.
std::string commandLineReport(std::string_view program, const RunReport& report);

// Japanese, for the dialog: the lines below the message's first line
// (the file at fault and why, or of a written list the entries left out
// and the duplicates), in the host's code page; empty when there is
// nothing to add.
std::string messageDetail(const CUiHost& host, const RunReport& report);

// `text` with "%1" to "%9" replaced by `values` (in order); any other
// '%' stays as it is.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace vesk
