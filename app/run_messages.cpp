#include "app/run_messages.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/resource_ids.h"
#include "app/usage.h"
#include "platform/ui_host.h"

namespace vesk {

namespace {

using Kind = ReadProblem::Kind;

// The pieces one after the other. (Built so rather than with "text" +
// std::string(...): GCC 12 warns falsely on that form, GCC bug 105329.)
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (const std::string_view piece : pieces) size += piece.size();
  std::string text;
  text.reserve(size);
  for (const std::string_view piece : pieces) text += piece;
  return text;
}

// A field quoted from a file may hold any byte an escape stands for;
// control bytes would garble a terminal or a message box.
std::string printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) c = '?';
  }
  return out;
}

std::string quoted(std::string_view field) { return joined({"\"", printable(field), "\""}); }

// "12 rows", "1 row".
std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  return joined({std::to_string(count), " ", count == 1 ? one : many});
}

// The conflicting references named, the rest counted: "R12, U3 and 4 more".
std::string namedReferences(const DuplicateSummary& summary, std::string_view separator) {
  std::string names;
  for (const std::string& name : summary.conflictNames) {
    if (!names.empty()) names += separator;
    names += printable(name);
  }
  return names;
}

std::size_t unnamedConflicts(const DuplicateSummary& summary) {
  return summary.conflictingReferences - summary.conflictNames.size();
}

// "FILE:LINE: " or "FILE: "; nothing without a file.
std::string place(std::string_view file, int line) {
  if (file.empty()) return {};
  if (line <= 0) return joined({file, ": "});
  return joined({file, ":", std::to_string(line), ": "});
}

int systemErrorString(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return kIdsNoSuchFile;
    case EACCES:
    case EPERM: return kIdsAccessDenied;
    case EISDIR: return kIdsIsFolder;
    case ENOTDIR: return kIdsNotFolder;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kIdsDiskFull;
    case EFBIG: return kIdsFileTooLarge;
    case EROFS: return kIdsReadOnlyDisk;
    case ENAMETOOLONG: return kIdsNameTooLong;
    case EIO: return kIdsInputOutputError;
    default: return 0;
  }
}

std::string japaneseSystemError(const CUiHost& host, int errorNumber) {
  if (const int id = systemErrorString(errorNumber); id != 0) return host.LoadString(id);
  return fillIn(host.LoadString(kIdsOtherSystemError),
                {std::to_string(errorNumber), englishSystemError(errorNumber)});
}

std::string japaneseReason(const CUiHost& host, const ReadProblem& p) {
  const auto say = [&host](int id, std::initializer_list<std::string_view> values) {
    return fillIn(host.LoadString(id), values);
  };
  const std::string found = printable(p.found);
  const std::string blockLine = std::to_string(p.blockLine);
  switch (p.kind) {
    case Kind::kNone: break;
    case Kind::kCannotOpen: return say(kIdsCannotOpen, {japaneseSystemError(host, p.systemError)});
    case Kind::kReadError: return say(kIdsReadError, {japaneseSystemError(host, p.systemError)});
    case Kind::kNotSchematic: return say(kIdsNotSchematic, {found});
    case Kind::kMissingKey: return say(kIdsMissingKey, {p.block, p.key});
    case Kind::kMissingBlock: return say(kIdsMissingBlock, {p.block, p.key});
    case Kind::kBadValue:
      return p.found.empty() ? say(kIdsUnusableValue, {p.block, p.key})
                             : say(kIdsBadValue, {p.block, p.key, found});
    case Kind::kWrongEndTag: return say(kIdsWrongEndTag, {p.block, found});
    case Kind::kEndOfInput: return say(kIdsEndOfInput, {p.block, blockLine});
    case Kind::kEscapeCutShort: return say(kIdsEscapeCutShort, {p.block});
    case Kind::kStrayField: return say(kIdsStrayField, {found});
    case Kind::kUnclosedBlock: return say(kIdsUnclosedBlock, {p.block, blockLine});
    case Kind::kMisplacedBlock: return say(kIdsMisplacedBlock, {p.block, found});
  }
  return {};
}

// A message box widens to its longest line, and Windows breaks no word
// that is too long for it: a long file name is cut in the middle, as
// Windows compacts paths, so that the box and the reason below the name
// stay on the screen. The cuts fall before ASCII bytes that begin a
// character, which are characters' starts in UTF-8 too.
std::string shownFileName(const CUiHost& host, const std::string& file) {
  constexpr std::size_t kLongest = 160;
  constexpr std::size_t kHead = 50;
  constexpr std::size_t kTail = 90;
  if (file.size() <= kLongest) return file;
  std::size_t head = 0;
  std::size_t tail = std::string::npos;
  for (std::size_t i = 0; i < file.size();) {
    const auto byte = static_cast<unsigned char>(file[i]);
    if (byte < 0x80 && i <= kHead) head = i;
    if (byte < 0x80 && tail == std::string::npos && i >= file.size() - kTail) tail = i;
    i += host.IsDBCSLeadByte(byte) ? 2 : 1;
  }
  if (head == 0 || tail == std::string::npos) return file;
  return joined({std::string_view(file).substr(0, head), "...", std::string_view(file).substr(tail)});
}

std::string japaneseDuplicates(const CUiHost& host, const DuplicateSummary& summary) {
  const std::string rows = std::to_string(summary.rows);
  const std::string repeated = std::to_string(summary.repeatedReferences);
  if (summary.conflictingReferences == 0) {
    return fillIn(host.LoadString(kIdsDuplicatesOneName), {rows, repeated});
  }
  std::string names = namedReferences(summary, ", ");
  if (const std::size_t more = unnamedConflicts(summary); more != 0) {
    names = fillIn(host.LoadString(kIdsMoreReferences), {names, std::to_string(more)});
  }
  return fillIn(host.LoadString(kIdsDuplicatesNamesDiffer),
                {rows, repeated, std::to_string(summary.conflictingReferences), names});
}

}  // namespace

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values) {
  const std::vector<std::string_view> value(values);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next >= '1' && next <= '9') {
      const auto index = static_cast<std::size_t>(next - '1');
      if (index < value.size()) out += value[index];
      ++i;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string englishSystemError(int errorNumber) {
  if (errorNumber == 0) return "unknown error";
  return std::strerror(errorNumber);
}

std::string englishReason(const ReadProblem& p) {
  const std::string blockLine = std::to_string(p.blockLine);
  switch (p.kind) {
    case Kind::kNone: break;
    case Kind::kCannotOpen: return joined({"cannot open: ", englishSystemError(p.systemError)});
    case Kind::kReadError: return joined({"cannot read: ", englishSystemError(p.systemError)});
    case Kind::kNotSchematic:
      return joined({"not a Kolvane schematic: the first field is ", quoted(p.found),
                     ", not +KOLVA_DATA_V.1.0"});
    case Kind::kMissingKey:
      return joined({"block ", p.block, " ends without its required key ", p.key});
    case Kind::kMissingBlock:
      return joined({"block ", p.block, " ends without the block ", p.key, " it needs"});
    case Kind::kBadValue:
      if (p.found.empty()) return joined({"block ", p.block, " has no usable value of key ", p.key});
      return joined({"block ", p.block, " cannot take ", quoted(p.found), " as the value of key ",
                     p.key});
    case Kind::kWrongEndTag:
      return joined({quoted(p.found), " ends block ", p.block, ", whose end tag is -", p.block});
    case Kind::kEndOfInput:
      return joined({"the file ends inside block ", p.block, ", begun on line ", blockLine});
    case Kind::kEscapeCutShort:
      return joined({"an escape (%XX) is cut short by the end of its field, in block ", p.block});
    case Kind::kStrayField:
      return joined({quoted(p.found),
                     " stands outside any block and is neither a start tag nor the end of the "
                     "file"});
    case Kind::kUnclosedBlock:
      return joined({"block ", p.block, ", begun on line ", blockLine, ", never ends (no -",
                     p.block, ")"});
    case Kind::kMisplacedBlock:
      return joined({"block ", p.block, " cannot hold block ", printable(p.found), " here"});
  }
  return {};
}

std::string englishDuplicates(const DuplicateSummary& summary) {
  if (!summary.hasDuplicates()) return {};
  const std::string rows = counted(summary.rows, "row", "rows");
  const std::string repeated =
      counted(summary.repeatedReferences, "reference appears", "references appear");
  if (summary.conflictingReferences == 0) {
    return joined({rows, "; ", repeated, " more than once",
                   summary.repeatedReferences == 1 ? ", with one name" : ", each with one name"});
  }
  std::string text = joined({rows, "; ", repeated, " more than once; ",
                             std::to_string(summary.conflictingReferences),
                             " with different names: ", namedReferences(summary, ", ")});
  if (const std::size_t more = unnamedConflicts(summary); more != 0) {
    text += joined({" and ", std::to_string(more), " more"});
  }
  return text;
}

std::string englishListReason(const ListProblem& p) {
  using ListKind = ListProblem::Kind;
  const std::string_view list =
      p.layout == ListLayout::kGrouped ? "the grouped list" : "the per-component list";
  // A first row that is no grouped list's header must be a row of the
  // per-component list: where it is not, the file may be no list at all.
  const bool firstRow = p.line == 1 && p.layout == ListLayout::kPerComponent &&
                        (p.kind == ListKind::kFieldCount || p.kind == ListKind::kBadMark ||
                         p.kind == ListKind::kBadNumber);
  if (firstRow) {
    ListProblem asRow = p;
    asRow.line = 0;
    return joined({"not a parts list of vesk: ", englishListReason(asRow)});
  }
  switch (p.kind) {
    case ListKind::kNone: break;
    case ListKind::kCannotOpen:
      return joined({"cannot open: ", englishSystemError(p.systemError)});
    case ListKind::kReadError:
      return joined({"cannot read: ", englishSystemError(p.systemError)});
    case ListKind::kListOfChanges:
      return "a list of changes, not a parts list; compare with the list you ordered from";
    case ListKind::kFieldCount:
      return joined({"a row of ", list, " has 5 fields; this one has ", std::to_string(p.count)});
    case ListKind::kBadMark:
      return joined({quoted(p.found), " is no mark of ", list, " (",
                     p.layout == ListLayout::kGrouped ? "none or *" : "none, * or ?", ")"});
    case ListKind::kBadNumber:
      return joined({"the reference number ", quoted(p.found), " is not a number"});
    case ListKind::kBadQuantity:
      return joined({"the quantity ", quoted(p.found), " is not a number from 1"});
    case ListKind::kBadReferences:
      return joined({"cannot read the references ", quoted(p.found),
                     " as references and ranges (R1, R3-R5) of one prefix"});
    case ListKind::kQuantityMismatch:
      return joined({"the quantity ", printable(p.found), " does not count the ",
                     std::to_string(p.count), " references of the row"});
    case ListKind::kTooManyReferences:
      return joined({"more than ", std::to_string(p.count), " references in the list"});
    case ListKind::kStrayQuote:
      return joined({"a stray quote in field ", std::to_string(p.count), ": ", printable(p.found)});
    case ListKind::kUnclosedQuote:
      return "a quoted field begun on this line never ends";
  }
  return {};
}

std::string englishChanges(const ChangeCounts& counts, std::string_view list) {
  if (counts.total() == 0) return joined({"no part changed since ", list});
  return joined({counted(counts.total(), "part", "parts"), " changed since ", list, ": ",
                 std::to_string(counts.added), " added, ", std::to_string(counts.removed),
                 " removed, ", std::to_string(counts.changed), " changed"});
}

std::string commandLineReport(std::string_view program, const RunReport& report) {
  // The traces end without a line end; what follows them starts a line.
  const std::string_view lead = report.traced ? "\n" : "";
  switch (report.outcome) {
    case RunOutcome::kNotRun:
    case RunOutcome::kNoInput:
      return joined({lead, program, ": -F needs at least one input file\n", usageLine(program)});
    case RunOutcome::kInputFailed:
      return joined({lead, program, ": ", place(report.file, report.problem.line),
                     englishReason(report.problem), "\n"});
    case RunOutcome::kEarlierListFailed:
      return joined({lead, program, ": ", place(report.file, report.listProblem.line),
                     englishListReason(report.listProblem), "\n"});
    case RunOutcome::kOutputNotOpened:
      if (report.outputIsInput) {
        return joined({lead, program, ": ", place(report.file, 0),
                       "is one of the input files; nothing is written\n"});
      }
      return joined({lead, program, ": ", place(report.file, 0), "cannot open for writing: ",
                     englishSystemError(report.systemError), "\n"});
    case RunOutcome::kWriteFailed:
      return joined({lead, program, ": ", place(report.file, 0), "cannot write: ",
                     englishSystemError(report.systemError), "\n"});
    case RunOutcome::kWritten: {
      std::string lines;
      if (report.inputsGiven > report.inputsRead) {
        lines += joined({program, ": ", std::to_string(report.inputsGiven),
                         " input files given; only the first ", std::to_string(report.inputsRead),
                         " were read\n"});
      }
      if (report.duplicates.hasDuplicates()) {
        lines += joined({program, ": ", englishDuplicates(report.duplicates), "\n"});
      }
      if (!report.changesSince.empty()) {
        lines += joined({program, ": ", englishChanges(report.changes, report.changesSince), "\n"});
      }
      if (lines.empty()) break;
      return joined({lead, lines});
    }
  }
  return {};
}

std::string messageDetail(const CUiHost& host, const RunReport& report) {
  // The file (with its line where one applies) on a line of its own,
  // then the reason.
  const std::string file = shownFileName(host, report.file);
  const auto about = [&](int line, const std::string& reason) {
    if (file.empty()) return reason;
    if (line <= 0) return joined({file, "\n", reason});
    return joined({fillIn(host.LoadString(kIdsFileAtLine), {file, std::to_string(line)}), "\n",
                   reason});
  };
  switch (report.outcome) {
    case RunOutcome::kNotRun:
    case RunOutcome::kNoInput: break;
    case RunOutcome::kInputFailed:
      return about(report.problem.line, japaneseReason(host, report.problem));
    case RunOutcome::kEarlierListFailed:
      // Only the command line compares with a list so far; the dialog will
      // have the reasons in Japanese when it offers the comparison.
      return about(report.listProblem.line, englishListReason(report.listProblem));
    case RunOutcome::kOutputNotOpened:
      return about(0, report.outputIsInput
                          ? host.LoadString(kIdsOutputIsInput)
                          : fillIn(host.LoadString(kIdsCannotOpen),
                                   {japaneseSystemError(host, report.systemError)}));
    case RunOutcome::kWriteFailed:
      return about(0, fillIn(host.LoadString(kIdsCannotWrite),
                             {japaneseSystemError(host, report.systemError)}));
    case RunOutcome::kWritten: {
      std::string lines;
      if (report.inputsGiven > report.inputsRead) {
        lines = fillIn(host.LoadString(kIdsInputsLeftOut),
                       {std::to_string(report.inputsGiven), std::to_string(report.inputsRead)});
      }
      if (report.duplicates.hasDuplicates()) {
        if (!lines.empty()) lines += '\n';
        lines += japaneseDuplicates(host, report.duplicates);
      }
      return lines;
    }
  }
  return {};
}

}  // namespace vesk
