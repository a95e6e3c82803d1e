#include "convert/parts_list_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <unordered_map>
#include <utility>

#include "convert/list_headers.h"
#include "convert/part_texts_key.h"
#include "convert/shift_jis_to_utf8.h"

namespace vesk {

namespace {

using Kind = ListProblem::Kind;

std::string cut(std::string_view field) {
  return std::string(field.substr(0, ListProblem::kLongestFound));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool endsField(char c) { return c == ',' || c == '\r' || c == '\n'; }

// The rows of a CSV text, one after the other.
class CsvRows {
 public:
  explicit CsvRows(std::string_view bytes) : bytes_(bytes) {}

  // Reads the next row into `fields` and returns true; false at the end of
  // the text, or when the row cannot be read (then `problem` says why).
  bool next(std::vector<std::string>& fields, ListProblem& problem) {
    if (at_ >= bytes_.size()) return false;
    rowLine_ = line_;
    fields.clear();
    for (;;) {
      std::string& field = fields.emplace_back();
      const std::size_t start = at_;
      if (at_ < bytes_.size() && bytes_[at_] == '"') {
        if (!readQuoted(field, problem)) return false;
        // Only the field's end may follow its closing quote.
        if (at_ < bytes_.size() && !endsField(bytes_[at_])) {
          return strayQuote(start, fields.size(), problem);
        }
      } else {
        while (at_ < bytes_.size() && !endsField(bytes_[at_])) {
          if (bytes_[at_] == '"') return strayQuote(start, fields.size(), problem);
          ++at_;
        }
        field.assign(bytes_.substr(start, at_ - start));
      }
      if (at_ >= bytes_.size()) return true;
      const char end = bytes_[at_++];
      if (end == ',') continue;
      // The row ends: CR LF, LF, or a CR alone.
      if (end == '\r' && at_ < bytes_.size() && bytes_[at_] == '\n') ++at_;
      ++line_;
      return true;
    }
  }

  // The line the last row began on, counted from 1.
  int rowLine() const { return rowLine_; }

 private:
  // The quoted field at at_, up to its closing quote.
  bool readQuoted(std::string& field, ListProblem& problem) {
    const int begun = line_;
    ++at_;
    for (;;) {
      if (at_ >= bytes_.size()) {
        problem.kind = Kind::kUnclosedQuote;
        problem.line = begun;
        return false;
      }
      const char c = bytes_[at_++];
      if (c == '"') {
        if (at_ >= bytes_.size() || bytes_[at_] != '"') return true;
        ++at_;
      } else if (c == '\n') {
        ++line_;
      } else if (c == '\r') {
        continue;
      }
      field.push_back(c);
    }
  }

  bool strayQuote(std::size_t fieldStart, std::size_t fieldNumber, ListProblem& problem) {
    std::size_t end = at_;
    while (end < bytes_.size() && !endsField(bytes_[end])) ++end;
    problem.kind = Kind::kStrayQuote;
    problem.line = line_;
    problem.count = fieldNumber;
    problem.found = cut(bytes_.substr(fieldStart, end - fieldStart));
    return false;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  int line_ = 1;
  int rowLine_ = 0;
};

// A whole number written in decimal digits, optionally after a minus, in
// the range of int.
std::optional<int> numberIn(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

// The references of a grouped row: a prefix shared by all of them and
// runs of numbers, first to last.
struct ReferenceRuns {
  std::string_view prefix;
  std::vector<std::pair<int, int>> runs;
  std::uint64_t count = 0;
};

// Reads `cell` as references of the prefix made of its first
// `prefixLength` bytes: "P1", "P1-P4", separated by ", ", each range of
// at least `shortestRange` references. Adds the bytes it looked at to
// `work`, once each.
bool readRuns(std::string_view cell, std::size_t prefixLength, int shortestRange,
              ReferenceRuns& references, std::size_t& work) {
  const std::string_view prefix = cell.substr(0, prefixLength);
  references.prefix = prefix;
  references.runs.clear();
  references.count = 0;
  std::size_t at = prefix.size();  // the cell begins with the prefix
  const auto number = [&](int& value) {
    const std::size_t digits = at;
    while (at < cell.size() && isDigit(cell[at])) ++at;
    const std::optional<int> read = numberIn(cell.substr(digits, at - digits));
    if (at == digits || !read) return false;
    value = *read;
    return true;
  };
  const auto prefixed = [&](int& value) {
    const std::string_view here = cell.substr(at, prefix.size());
    const auto same = static_cast<std::size_t>(
        std::mismatch(here.begin(), here.end(), prefix.begin()).first - here.begin());
    if (same != prefix.size()) {
      work += same + 1;
      return false;
    }
    at += prefix.size();
    return number(value);
  };
  const auto read = [&] {
    for (bool first = true;; first = false) {
      int low = 0;
      if (!(first ? number(low) : prefixed(low))) return false;
      int high = low;
      if (at < cell.size() && cell[at] == '-') {
        ++at;
        if (!prefixed(high) || high < low) return false;
        if (static_cast<std::int64_t>(high) - low + 1 < shortestRange) return false;
      }
      references.runs.emplace_back(low, high);
      references.count += static_cast<std::uint64_t>(high - low) + 1;
      if (at == cell.size()) return true;
      if (cell.substr(at, 2) != ", ") return false;
      at += 2;
    }
  };
  const bool fits = read();
  // The first prefix is the cell's own beginning, taken without a look.
  work += at - prefix.size();
  return fits;
}

// A prefix never ends in a digit (the number takes them all), but it may
// hold digits, "-" and ", " of its own: R1-2 has the prefix "R1-". Each
// place where a run of digits begins could end the prefix, and the row's
// quantity tells which reading is meant; they are tried from the shortest
// prefix. A wrong prefix mostly fails within a few bytes; this bounds the
// work of a cell made to fit many prefixes far into it, in bytes looked at
// for each byte of the cell.
constexpr std::size_t kWorkPerByte = 64;

// The reading of `cell` whose count is `quantity`. A reading with the
// ranges the lists write (three references or more) comes first: "A1-A1"
// is the reference A1-A1 (prefix "A1-A"), not a range from A1 to A1.
// Ranges of one or two, as a user may write them, are read after that.
// When no reading fits, `shortestCount` is the count of the one with the
// shortest prefix, if that one fits at all (then the quantity is what is
// wrong).
bool readReferences(std::string_view cell, std::uint64_t quantity, ReferenceRuns& references,
                    std::optional<std::uint64_t>& shortestCount) {
  for (const int shortestRange : {3, 1}) {
    std::size_t work = 0;
    bool shortest = true;
    for (std::size_t k = 0; k < cell.size() && work <= kWorkPerByte * cell.size(); ++k) {
      if (!isDigit(cell[k]) || (k > 0 && isDigit(cell[k - 1]))) continue;
      const bool fits = readRuns(cell, k, shortestRange, references, work);
      if (fits && references.count == quantity) return true;
      if (fits && shortest) shortestCount = references.count;
      shortest = false;
    }
  }
  return false;
}

using TextsKey = PartTextsKey<std::string>;

bool rowIs(const std::vector<std::string>& fields, const std::string_view* texts,
           std::size_t count) {
  return fields.size() == count && std::equal(fields.begin(), fields.end(), texts);
}

// The bytes after the byte order mark, if there is one, and the encoding
// it tells.
std::string_view withoutByteOrderMark(std::string_view bytes, ListEncoding& encoding) {
  if (!bytes.starts_with(kUtf8ByteOrderMark)) return bytes;
  encoding = ListEncoding::kUtf8;
  return bytes.substr(kUtf8ByteOrderMark.size());
}

class ListReader {
 public:
  ListReader(std::string_view bytes, const Utf8ToShiftJis& toShiftJis, ListReading& reading)
      : toShiftJis_(toShiftJis),
        list_(reading.list),
        problem_(reading.problem),
        rows_(withoutByteOrderMark(bytes, reading.list.encoding)) {}

  void read() {
    std::vector<std::string> fields;
    bool first = true;
    while (rows_.next(fields, problem_)) {
      if (first) {
        first = false;
        if (readHeader(fields)) {
          if (problem_.failed()) return;
          continue;
        }
      }
      const bool read = list_.layout == ListLayout::kGrouped ? readGroupedRow(fields)
                                                             : readComponentRow(fields);
      if (!read) return;
    }
    if (problem_.failed()) return;
    for (ListedPart& part : list_.parts) std::sort(part.numbers.begin(), part.numbers.end());
  }

 private:
  // Whether the first row is a header: the grouped list's sets the kind,
  // a list of changes fails the reading.
  bool readHeader(const std::vector<std::string>& fields) {
    std::vector<std::string> texts;
    for (const std::string& field : fields) texts.push_back(shiftJis(field, nullptr));
    if (rowIs(texts, kGroupedListHeader, std::size(kGroupedListHeader))) {
      list_.layout = ListLayout::kGrouped;
      return true;
    }
    if (rowIs(texts, kChangesListHeader, std::size(kChangesListHeader))) {
      fail(Kind::kListOfChanges, {});
      return true;
    }
    return false;
  }

  // mark, prefix, number, name, note
  bool readComponentRow(const std::vector<std::string>& fields) {
    if (!hasFiveFields(fields)) return false;
    const std::string& mark = fields[0];
    if (!mark.empty() && mark != "*" && mark != "?") return fail(Kind::kBadMark, mark);
    const std::optional<int> number = numberIn(fields[2]);
    if (!number) return fail(Kind::kBadNumber, fields[2]);
    if (!haveRoomFor(1)) return false;
    partOf(fields[1], fields[3], fields[4]).numbers.push_back(*number);
    return true;
  }

  // mark, references, quantity, name, note
  bool readGroupedRow(const std::vector<std::string>& fields) {
    if (!hasFiveFields(fields)) return false;
    const std::string& mark = fields[0];
    if (!mark.empty() && mark != "*") return fail(Kind::kBadMark, mark);
    const std::optional<int> quantity = numberIn(fields[2]);
    if (!quantity || *quantity < 1) return fail(Kind::kBadQuantity, fields[2]);
    // The references are read in the file's own bytes: digits, "-", ","
    // and space are the same bytes in both encodings, and are never part
    // of a Shift-JIS double-byte character or of a UTF-8 sequence.
    std::optional<std::uint64_t> shortestCount;
    if (!readReferences(fields[1], static_cast<std::uint64_t>(*quantity), references_,
                        shortestCount)) {
      if (!shortestCount) return fail(Kind::kBadReferences, fields[1]);
      problem_.count = static_cast<std::size_t>(*shortestCount);
      return fail(Kind::kQuantityMismatch, fields[2]);
    }
    if (!haveRoomFor(static_cast<std::size_t>(*quantity))) return false;
    std::vector<int>& numbers =
        partOf(std::string(references_.prefix), fields[3], fields[4]).numbers;
    for (const auto& [first, last] : references_.runs) {
      for (std::int64_t number = first; number <= last; ++number) {
        numbers.push_back(static_cast<int>(number));
      }
    }
    return true;
  }

  bool hasFiveFields(const std::vector<std::string>& fields) {
    if (fields.size() == 5) return true;
    problem_.count = fields.size();
    return fail(Kind::kFieldCount, {});
  }

  bool haveRoomFor(std::size_t references) {
    referenceCount_ += references;
    if (referenceCount_ <= kMostListedReferences) return true;
    problem_.count = kMostListedReferences;
    return fail(Kind::kTooManyReferences, {});
  }

  // The part of these texts (as the file holds them), new at the end of
  // the list when the list has none yet.
  ListedPart& partOf(const std::string& prefix, const std::string& name,
                     const std::string& note) {
    const auto [found, added] =
        partIndex_.try_emplace(TextsKey{prefix, name, note}, list_.parts.size());
    if (added) {
      ListedPart& part = list_.parts.emplace_back();
      bool comparable = true;
      part.prefix = shiftJis(prefix, &comparable);
      part.name = shiftJis(name, &comparable);
      part.note = shiftJis(note, &comparable);
      part.comparable = comparable;
    }
    return list_.parts[found->second];
  }

  // `text` in Shift-JIS; `comparable` becomes false when it holds a
  // character that code page 932 has no form for.
  std::string shiftJis(const std::string& text, bool* comparable) const {
    if (list_.encoding != ListEncoding::kUtf8) return text;
    std::string converted;
    if (toShiftJis_.append(text, converted) != 0 && comparable != nullptr) *comparable = false;
    return converted;
  }

  bool fail(Kind kind, std::string_view found) {
    problem_.kind = kind;
    problem_.line = rows_.rowLine();
    problem_.layout = list_.layout;
    problem_.found = cut(found);
    return false;
  }

  const Utf8ToShiftJis& toShiftJis_;
  ListedParts& list_;
  ListProblem& problem_;
  CsvRows rows_;
  std::unordered_map<TextsKey, std::size_t, PartTextsKeyHash> partIndex_;
  ReferenceRuns references_;
  std::size_t referenceCount_ = 0;
};

}  // namespace

ListReading readPartsList(std::string_view bytes, const Utf8ToShiftJis& toShiftJis) {
  ListReading reading;
  ListReader(bytes, toShiftJis, reading).read();
  if (reading.problem.failed()) reading.list.parts.clear();
  return reading;
}

ListReading readPartsListFile(const char* path, const Utf8ToShiftJis& toShiftJis) {
  ListReading reading;
  ListProblem& problem = reading.problem;
  errno = 0;
  std::FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
  if (file == nullptr) {
    int error = path != nullptr ? errno : ENOENT;
    // Windows refuses to open a folder as a file, with "access denied";
    // that it is a folder is what the user needs to hear.
    std::error_code ignored;
    if (error == EACCES && std::filesystem::is_directory(path, ignored)) error = EISDIR;
    problem.kind = ListProblem::Kind::kCannotOpen;
    problem.systemError = error;
    return reading;
  }
  std::string bytes;
  char buffer[1 << 16];
  std::size_t got = 0;
  errno = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    // POSIX opens a folder and fails its first read.
    problem.kind = error == EISDIR ? ListProblem::Kind::kCannotOpen : ListProblem::Kind::kReadError;
    problem.systemError = error;
    return reading;
  }
  return readPartsList(bytes, toShiftJis);
}

}  // namespace vesk
