// Helpers of the record reader's tests: the fields a reader hands out,
// each with its line, compared and printed as one value.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "schfile/record_reader.h"

namespace vesk::test {

struct Field {
  std::string text;
  int line;
  bool operator==(const Field&) const = default;
};

// Long fields (the tests have some of 32 KiB) print as their size and start.
inline std::ostream& operator<<(std::ostream& os, const Field& f) {
  if (f.text.size() <= 40) return os << '"' << f.text << "\"@" << f.line;
  return os << f.text.size() << " bytes \"" << f.text.substr(0, 20) << "\"@" << f.line;
}

// Every field `reader` hands out up to the read that returns -1; `rest`,
// when given, receives what that last read left in its field.
inline std::vector<Field> readAllFields(RecordReader& reader, std::string* rest = nullptr) {
  std::vector<Field> fields;
  std::string field;
  for (int line; (line = reader.readField(field)) != -1;) fields.push_back({field, line});
  if (rest != nullptr) *rest = field;
  return fields;
}

}  // namespace vesk::test
