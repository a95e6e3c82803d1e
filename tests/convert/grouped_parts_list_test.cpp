// The grouped parts list: which components make one row, the references
// with their ranges, the quantities and the marks.
#include "convert/grouped_parts_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/parts_list_support.h"

namespace vesk {
namespace {

using test::builtList;
using test::ComponentTexts;
using test::writtenBy;

// "重複","部品番号","数量","部品名","備考" in Shift-JIS.
const std::string kHeader =
    "\"\x8f\x64\x95\xa1\",\"\x95\x94\x95\x69\x94\xd4\x8d\x86\",\"\x90\x94\x97\xca\","
    "\"\x95\x94\x95\x69\x96\xbc\",\"\x94\xf5\x8d\x6c\"\r\n";

std::string grouped(const std::vector<std::vector<ComponentTexts>>& inputs) {
  const auto builder = builtList(inputs);
  return writtenBy(GroupedPartsList(), *builder->entries());
}

TEST(GroupedPartsList, Rules) {
  struct Case {
    const char* title;
    std::vector<ComponentTexts> components;  // in the order of the input
    std::string rows;                        // after the header
  };
  const Case cases[] = {
      {"ranges of three or more, runs of two stay two",
       {{"R13", "10k", ""}, {"R1", "10k", ""}, {"R2", "10k", ""}, {"R3", "10k", ""},
        {"R4", "10k", ""}, {"R6", "10k", ""}, {"R7", "10k", ""}, {"R9", "10k", ""},
        {"R11", "10k", ""}, {"R12", "10k", ""}},
       ",\"R1-R4, R6, R7, R9, R11-R13\",10,\"10k\",\"\"\r\n"},
      {"rows in the order of each part's first component",
       {{"R1", "100n", ""}, {"C3", "100n", ""}, {"C2", "10u", ""}, {"C1", "100n", ""}},
       ",\"C1, C3\",2,\"100n\",\"\"\r\n"
       ",\"C2\",1,\"10u\",\"\"\r\n"
       ",\"R1\",1,\"100n\",\"\"\r\n"},
      {"a reference twice in one part: listed twice, counted twice",
       {{"R1", "10k", ""}, {"R2", "10k", ""}, {"R1", "10k", ""}, {"R3", "10k", ""},
        {"R5", "1k", ""}, {"R6", "1k", ""}, {"R6", "1k", ""}, {"R7", "1k", ""}},
       "*,\"R1, R1-R3\",4,\"10k\",\"\"\r\n"
       "*,\"R5, R6, R6, R7\",4,\"1k\",\"\"\r\n"},
      {"a reference in two parts marks both, and only those",
       {{"R1", "10k", ""}, {"R1", "22k", ""}, {"R2", "22k", ""}, {"R3", "10k", ""},
        {"R4", "10k", ""}, {"R5", "4.7k", ""}},
       "*,\"R1, R3, R4\",3,\"10k\",\"\"\r\n"
       "*,\"R1, R2\",2,\"22k\",\"\"\r\n"
       ",\"R5\",1,\"4.7k\",\"\"\r\n"},
      {"notes tell parts apart; an empty note is a note",
       {{"R1", "10k", ""}, {"R2", "10k", "1%"}, {"R3", "10k", ""}, {"R4", "10k", "1%"}},
       ",\"R1, R3\",2,\"10k\",\"\"\r\n"
       ",\"R2, R4\",2,\"10k\",\"1%\"\r\n"},
      {"the empty prefix of all-digit references",
       {{"3", "TP", ""}, {"1", "TP", ""}, {"2", "TP", ""}, {"5", "TP", ""}},
       ",\"1-3, 5\",4,\"TP\",\"\"\r\n"},
      {"references as prefix and number",
       {{"R007", "1k", ""}, {"U1A", "74HC00", ""}, {"TP", "GND", ""}},
       ",\"R7\",1,\"1k\",\"\"\r\n"
       ",\"TP0\",1,\"GND\",\"\"\r\n"
       ",\"U1A0\",1,\"74HC00\",\"\"\r\n"},
      {"Shift-JIS names compared and written as their bytes",
       {{"R1", "\x92\xef\x8d\x52", "\x83\x5c"}, {"R2", "\x92\xef\x8d\x52 ", "\x83\x5c"},
        {"R3", "\x92\xef\x8d\x52", "\x83\x5c"}},
       ",\"R1, R3\",2,\"\x92\xef\x8d\x52\",\"\x83\x5c\"\r\n"
       ",\"R2\",1,\"\x92\xef\x8d\x52 \",\"\x83\x5c\"\r\n"},
      {"quotes doubled and CR left out, in references too",
       {{"Q\"1", "SW \"A\"", "line1\r\nline2"}, {"Q\"2", "SW \"A\"", "line1\r\nline2"}},
       ",\"Q\"\"1, Q\"\"2\",2,\"SW \"\"A\"\"\",\"line1\nline2\"\r\n"},
      {"the largest numbers: no run past the last",
       {{"R2147483646", "1k", ""}, {"R2147483647", "1k", ""}, {"R99999999999", "1k", ""},
        {"R0", "1k", ""}},
       "*,\"R0, R2147483646, R2147483647, R2147483647\",4,\"1k\",\"\"\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(grouped({c.components}), kHeader + c.rows) << c.title;
  }
}

TEST(GroupedPartsList, PartsSpanInputsAndAnEmptyListIsItsHeader) {
  EXPECT_EQ(grouped({{{"R1", "10k", ""}, {"C1", "1u", ""}}, {}, {{"R3", "10k", ""}},
                     {{"R2", "10k", ""}}}),
            kHeader + ",\"C1\",1,\"1u\",\"\"\r\n,\"R1-R3\",3,\"10k\",\"\"\r\n");
  EXPECT_EQ(grouped({}), kHeader);
  EXPECT_EQ(grouped({{}}), kHeader);
}

// One part with references far longer than the chunks the rows go out in.
TEST(GroupedPartsList, ARowLongerThanAWriteChunkGoesOutWhole) {
  std::vector<ComponentTexts> components;
  std::string references;
  for (int number = 1; number < 40000; number += 2) {
    components.push_back({"R" + std::to_string(number), "10k", ""});
    references += (number == 1 ? "R" : ", R") + std::to_string(number);
  }
  EXPECT_EQ(grouped({components}), kHeader + ",\"" + references + "\",20000,\"10k\",\"\"\r\n");
}

}  // namespace
}  // namespace vesk
