// The order of the parts list where the sort cannot decide by the first
// eight bytes of prefix and name alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "convert/parts_list_builder.h"
#include "tests/support/parts_list_support.h"

namespace vesk {
namespace {

using Row = test::ComponentTexts;

std::vector<std::string> sortedRows(const std::vector<Row>& rows) {
  const auto builder = test::builtList({rows});
  std::vector<std::string> out;
  for (const PartsListEntry* row : *builder->entries()) {
    const PartsListEntry& e = *row;
    out.push_back(std::string(e.prefix) + "|" + std::to_string(e.number) + "|" +
                  std::string(e.name) + "|" + std::string(e.note));
  }
  return out;
}

TEST(PartsListOrder, LongTextsShortTextsAndTies) {
  const std::vector<std::pair<std::vector<Row>, std::vector<std::string>>> cases = {
      // Prefixes equal in their first eight bytes, told apart after them,
      // and a prefix that is the beginning of a longer one.
      {{{"CONNECTORB1", "x", ""}, {"CONNECTORA2", "x", ""}, {"CONNECTOR1", "x", ""},
        {"CONNECTORA1", "x", ""}},
       {"CONNECTOR|1|x|", "CONNECTORA|1|x|", "CONNECTORA|2|x|", "CONNECTORB|1|x|"}},
      // Names equal in their first eight bytes; the number decides first.
      {{{"U2", "74HC595XB", ""}, {"U1", "74HC595XB", ""}, {"U1", "74HC595XA", ""},
        {"U1", "74HC595X", ""}},
       {"U|1|74HC595X|", "U|1|74HC595XA|", "U|1|74HC595XB|", "U|2|74HC595XB|"}},
      // Bytes 0x80 and above after ASCII, upper case before lower case, and
      // rows equal in all three keys in collection order, long or short.
      {{{"r1", "a", "1"}, {"\xb1" "1", "a", "2"}, {"R1", "a", "3"}, {"R1", "a", "4"},
        {"LONGPREFIX1", "LONGNAME99", "5"}, {"LONGPREFIX1", "LONGNAME99", "6"}},
       {"LONGPREFIX|1|LONGNAME99|5", "LONGPREFIX|1|LONGNAME99|6", "R|1|a|3", "R|1|a|4",
        "r|1|a|1", "\xb1|1|a|2"}},
      // An all-digit reference has the empty prefix, which comes first.
      {{{"R2", "", ""}, {"7", "", ""}, {"R10", "", ""}, {"R9", "", ""}},
       {"|7||", "R|2||", "R|9||", "R|10||"}},
  };
  for (const auto& [rows, expected] : cases) EXPECT_EQ(sortedRows(rows), expected);
}

// Many rows with long and short texts and many ties: the builder's order is
// the stable order of (prefix, number, name), so every cycle of the sort's
// permutation, long or short, must put each row in its place.
TEST(PartsListOrder, ManyRowsComeOutInStableOrder) {
  const char* const prefixes[] = {"R", "C", "U", "CONNECTORA", "CONNECTORB", "r", "\xb1"};
  const char* const names[] = {"10k", "", "74HC595XA", "74HC595XB", "a"};
  std::vector<std::string> references;
  std::vector<Row> rows;
  std::vector<std::string> notes;
  unsigned seed = 12345;
  auto next = [&seed](unsigned bound) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % bound;
  };
  constexpr int kRows = 3000;
  references.reserve(kRows);
  notes.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    references.push_back(std::string(prefixes[next(7)]) + std::to_string(next(40)));
    notes.push_back(std::to_string(i));
  }
  for (int i = 0; i < kRows; ++i) {
    rows.push_back(Row{references[static_cast<std::size_t>(i)].c_str(), names[next(5)],
                       notes[static_cast<std::size_t>(i)].c_str()});
  }
  std::vector<std::string> expected;
  {
    struct Keyed {
      ReferenceParts parts;
      std::string name;
      std::string line;
    };
    std::vector<Keyed> keyed;
    for (const Row& row : rows) {
      const ReferenceParts parts = splitReference(row.reference);
      keyed.push_back(Keyed{parts, row.name,
                            std::string(parts.prefix) + "|" + std::to_string(parts.number) + "|" +
                                row.name + "|" + row.note});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
      if (a.parts.prefix != b.parts.prefix) return a.parts.prefix < b.parts.prefix;
      if (a.parts.number != b.parts.number) return a.parts.number < b.parts.number;
      return a.name < b.name;
    });
    for (const Keyed& k : keyed) expected.push_back(k.line);
  }
  EXPECT_EQ(sortedRows(rows), expected);
}

}  // namespace
}  // namespace vesk
