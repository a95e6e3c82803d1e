// The changes since an earlier list: each case's earlier design written in
// all four forms of the list, read back and compared with the design now;
// lists that cannot be read; and UTF-8 back into Shift-JIS.
#include "convert/parts_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/changes_list.h"
#include "convert/csv_parts_list.h"
#include "convert/grouped_parts_list.h"
#include "convert/parts_list_reader.h"
#include "convert/utf8_to_shift_jis.h"
#include "platform/code_page_932.h"
#include "tests/support/parts_list_support.h"

namespace vesk {
namespace {

using test::builtList;
using test::ComponentTexts;
using test::writtenBy;
using test::writtenTo;

const std::string kHeader =
    "\"変更\",\"部品名\",\"備考\",\"前\",\"今\",\"増減\",\"加わった部品番号\","
    "\"なくなった部品番号\"\r\n";

// 抵抗 (resistor) in Shift-JIS.
const std::string kResistor = "\x92\xef\x8d\x52";

const Utf8ToShiftJis& systemTable() {
  static const Utf8ToShiftJis table(makeCodePage932Encoder(), makeCodePage932Decoder());
  return table;
}

// The list of `rows` in one of its four forms, as a run writes it.
std::string listOf(const SortedPartsList& rows, ListLayout layout, const ShiftJisToUtf8* utf8) {
  const std::string bom(utf8 != nullptr ? kUtf8ByteOrderMark : "");
  if (layout == ListLayout::kGrouped) return bom + writtenBy(GroupedPartsList(utf8), rows);
  return bom + writtenBy(CsvPartsList(utf8), rows);
}

TEST(PartsChanges, FromEveryFormOfTheList) {
  struct Case {
    const char* title;
    std::vector<ComponentTexts> earlier, now;
    std::string rows;  // after the header, in UTF-8
  };
  // A long reference with hundreds of runs of digits, commas and dashes
  // that could each end its prefix.
  std::string longReference;
  for (int i = 0; i < 150; ++i) longReference += "9,X2:0,Y2-7T";
  const Case cases[] = {
      {"added, removed, renamed, a note changed; removed parts last, in the list's order",
       {{"U2", "74HC04", ""}, {"R1", "10k", "1%"}, {"R2", "10k", "1%"}, {"R3", "22k", ""},
        {"U1", "74HC00", ""}},
       {{"R1", "10k", "1%"}, {"R2", "10k", "5%"}, {"R3", "27k", ""}, {"D1", "1N4148", ""}},
       "\"追加\",\"1N4148\",\"\",0,1,+1,\"D1\",\"\"\r\n"
       "\"変更\",\"10k\",\"1%\",2,1,-1,\"\",\"R2\"\r\n"
       "\"追加\",\"10k\",\"5%\",0,1,+1,\"R2\",\"\"\r\n"
       "\"追加\",\"27k\",\"\",0,1,+1,\"R3\",\"\"\r\n"
       "\"削除\",\"22k\",\"\",1,0,-1,\"\",\"R3\"\r\n"
       "\"削除\",\"74HC00\",\"\",1,0,-1,\"\",\"U1\"\r\n"
       "\"削除\",\"74HC04\",\"\",1,0,-1,\"\",\"U2\"\r\n"},
      {"a reference moved to another part, and one renumbered",
       {{"C1", "100n", ""}, {"C2", "100n", ""}, {"C3", "10u", ""}, {"R1", "1k", ""},
        {"R2", "1k", ""}},
       {{"C1", "100n", ""}, {"C2", "10u", ""}, {"C3", "10u", ""}, {"R2", "1k", ""},
        {"R3", "1k", ""}},
       "\"変更\",\"100n\",\"\",2,1,-1,\"\",\"C2\"\r\n"
       "\"変更\",\"10u\",\"\",1,2,+1,\"C2\",\"\"\r\n"
       "\"変更\",\"1k\",\"\",2,2,0,\"R3\",\"R1\"\r\n"},
      {"duplicates on either side count as often as they occur",
       {{"R1", "10k", ""}, {"R1", "10k", ""}, {"R2", "10k", ""}, {"R5", "1k", ""}},
       {{"R1", "10k", ""}, {"R2", "10k", ""}, {"R2", "10k", ""}, {"R5", "1k", ""},
        {"R5", "1k", ""}, {"R5", "1k", ""}},
       "\"変更\",\"10k\",\"\",3,3,0,\"R2\",\"R1\"\r\n"
       "\"変更\",\"1k\",\"\",1,3,+2,\"R5, R5\",\"\"\r\n"},
      {"ranges on either side",
       {{"R1", "10k", ""}, {"R2", "10k", ""}, {"R3", "10k", ""}, {"R4", "10k", ""},
        {"R5", "10k", ""}, {"R9", "10k", ""}},
       {{"R1", "10k", ""}, {"R2", "10k", ""}, {"R3", "10k", ""}, {"R5", "10k", ""},
        {"R6", "10k", ""}, {"R7", "10k", ""}, {"R8", "10k", ""}},
       "\"変更\",\"10k\",\"\",6,7,+1,\"R6-R8\",\"R4, R9\"\r\n"},
      {"prefixes with digits, dashes and commas of their own; no prefix; no number",
       {{"Q1-Q1", "z", ""}, {"R1-2", "x", ""}, {"R1-3", "x", ""}, {"R1-4", "x", ""}, {"R1-5", "x", ""},
        {"A, 1", "y", ""}, {"A, 2", "y", ""}, {"A, 3", "y", ""}, {"1", "TP", ""},
        {"2", "TP", ""}, {"TP", "GND", ""}},
       {{"Q1-Q1", "z", ""}, {"R1-2", "x", ""}, {"R1-5", "x", ""}, {"A, 1", "y", ""}, {"A, 2", "y", ""},
        {"A, 3", "y", ""}, {"A, 4", "y", ""}, {"1", "TP", ""}, {"2", "TP", ""},
        {"3", "TP", ""}, {"TP0", "GND", ""}},
       "\"変更\",\"TP\",\"\",2,3,+1,\"3\",\"\"\r\n"
       "\"変更\",\"y\",\"\",3,4,+1,\"A, 4\",\"\"\r\n"
       "\"変更\",\"x\",\"\",4,2,-2,\"\",\"R1-3, R1-4\"\r\n"},
      {"a long reference whose prefix could end at hundreds of places",
       {{longReference, "x", ""}},
       {{longReference, "x", ""}, {"R1", "y", ""}},
       "\"追加\",\"y\",\"\",0,1,+1,\"R1\",\"\"\r\n"},
      {"texts as the lists write them: Shift-JIS, quotes, a line break without its CR",
       {{"R1", kResistor, "SW \"A\"\r\nB"}, {"R2", kResistor + " 1k", "\x83\x5c"}},
       {{"R1", kResistor, "SW \"A\"\r\nB"}, {"R3", kResistor + " 1k", "\x83\x5c"}},
       "\"変更\",\"抵抗 1k\",\"ソ\",1,1,0,\"R3\",\"R2\"\r\n"},
      {"prefixes apart only by a CR are one part, its numbers merged in order",
       {{"R1", "x", ""}, {"R2", "x", ""}, {"R3", "x", ""}},
       {{"R1", "x", ""}, {"R\r2", "x", ""}, {"R3", "x", ""}, {"R5", "x", ""}},
       "\"変更\",\"x\",\"\",3,4,+1,\"R5\",\"\"\r\n"},
  };
  const ShiftJisToUtf8 utf8(makeCodePage932Decoder());
  for (const Case& c : cases) {
    const auto earlier = builtList({c.earlier});
    const auto now = builtList({c.now});
    for (const ListLayout layout : {ListLayout::kPerComponent, ListLayout::kGrouped}) {
      for (const ShiftJisToUtf8* encoding : {static_cast<const ShiftJisToUtf8*>(nullptr), &utf8}) {
        const std::string form = std::string(layout == ListLayout::kGrouped ? "grouped" : "rows") +
                                 (encoding != nullptr ? " in UTF-8" : " in Shift-JIS");
        const ListReading read = readPartsList(listOf(*earlier->entries(), layout, encoding),
                                               systemTable());
        ASSERT_FALSE(read.problem.failed()) << c.title << ", " << form << ": line "
                                            << read.problem.line;
        EXPECT_EQ(read.list.layout, layout);
        const PartsChanges changes = compareParts(*now->entries(), read.list);
        EXPECT_EQ(writtenTo([&](std::FILE* out) { ChangesList(&utf8).write(changes, out); }),
                  kHeader + c.rows)
            << c.title << ", " << form;
      }
    }
  }
}

// A text with bytes that are no Shift-JIS is written in UTF-8 with U+FFFD,
// which has no Shift-JIS form: read back, it matches nothing.
TEST(PartsChanges, ATextWithoutAShiftJisFormMatchesNothing) {
  const auto design = builtList({{{"R1", "10k\x80", ""}, {"R2", "1k", ""}}});
  const ShiftJisToUtf8 utf8(makeCodePage932Decoder());
  const ListReading read =
      readPartsList(listOf(*design->entries(), ListLayout::kGrouped, &utf8), systemTable());
  ASSERT_FALSE(read.problem.failed());
  const PartsChanges changes = compareParts(*design->entries(), read.list);
  EXPECT_EQ((changes.counts), (ChangeCounts{.added = 1, .removed = 1, .changed = 0}));
  EXPECT_EQ(writtenTo([&](std::FILE* out) { ChangesList().write(changes, out); }),
            writtenTo([&](std::FILE* out) { ChangesList().write({}, out); }) +
                "\"\x92\xc7\x89\xc1\",\"10k\x80\",\"\",0,1,+1,\"R1\",\"\"\r\n"
                "\"\x8d\xed\x8f\x9c\",\"10k?\",\"\",1,0,-1,\"\",\"R1\"\r\n");
}

TEST(PartsListReader, ListsItCannotReadNameTheirLineAndWhy) {
  using Kind = ListProblem::Kind;
  const std::string grouped =
      "\"\x8f\x64\x95\xa1\",\"\x95\x94\x95\x69\x94\xd4\x8d\x86\",\"\x90\x94\x97\xca\","
      "\"\x95\x94\x95\x69\x96\xbc\",\"\x94\xf5\x8d\x6c\"\r\n";
  const std::string row = ",\"R\",1,\"10k\",\"\"\r\n";
  struct Case {
    std::string bytes;
    Kind kind;
    int line;
    std::string found;
  };
  const Case cases[] = {
      {row + ",\"R\",2,\"10k\"\r\n", Kind::kFieldCount, 2, ""},
      {"name,value\r\nR1,10k\r\n", Kind::kFieldCount, 1, ""},
      {"x,\"R\",1,\"10k\",\"\"\r\n", Kind::kBadMark, 1, "x"},
      {row + ",\"R\",1x,\"10k\",\"\"\r\n", Kind::kBadNumber, 2, "1x"},
      // A line break inside quotes: the next row begins on line 3.
      {",\"R\",1,\"a\nb\",\"\"\r\n,\"R\",,\"a\",\"\"\r\n", Kind::kBadNumber, 3, ""},
      {grouped + ",\"R1\",one,\"10k\",\"\"\r\n", Kind::kBadQuantity, 2, "one"},
      {grouped + ",\"R1-\",2,\"10k\",\"\"\r\n", Kind::kBadReferences, 2, "R1-"},
      {grouped + ",\"R5-R3\",3,\"10k\",\"\"\r\n", Kind::kBadReferences, 2, "R5-R3"},
      {grouped + ",\"R1-C3\",3,\"10k\",\"\"\r\n", Kind::kBadReferences, 2, "R1-C3"},
      {grouped + ",\"R1-R4\",3,\"10k\",\"\"\r\n", Kind::kQuantityMismatch, 2, "3"},
      {grouped + ",\"R1-R99999999\",99999999,\"10k\",\"\"\r\n", Kind::kTooManyReferences, 2,
       ""},
      {row + ",\"R\",1,\"10k\"x,\"\"\r\n", Kind::kStrayQuote, 2, "\"10k\"x"},
      {",R\"1,1,\"10k\",\"\"\r\n", Kind::kStrayQuote, 1, "R\"1"},
      {row + ",\"R\",1,\"10k\r\n", Kind::kUnclosedQuote, 2, ""},
      // A list of changes, and a grouped list in UTF-8 without its byte
      // order mark.
      {std::string(kUtf8ByteOrderMark) + kHeader, Kind::kListOfChanges, 1, ""},
      {"\"重複\",\"部品番号\",\"数量\",\"部品名\",\"備考\"\r\n", Kind::kBadMark, 1, "重複"},
  };
  for (const Case& c : cases) {
    const ListReading read = readPartsList(c.bytes, systemTable());
    EXPECT_EQ(read.problem.kind, c.kind) << c.bytes;
    EXPECT_EQ(read.problem.line, c.line) << c.bytes;
    EXPECT_EQ(read.problem.found, c.found) << c.bytes;
    EXPECT_TRUE(read.list.parts.empty()) << c.bytes;
  }
}

// What a spreadsheet may make of a list when it saves it again.
TEST(PartsListReader, ReadsTheListsAsSpreadsheetsSaveThemToo) {
  const std::string bytes = ",R,1,10k,\n*,R,1,10k,\n,\"C\",\"2\",100n,\"X7R\"";
  const ListReading read = readPartsList(bytes, systemTable());
  ASSERT_FALSE(read.problem.failed()) << read.problem.line;
  ASSERT_EQ(read.list.parts.size(), 2u);
  EXPECT_EQ(read.list.parts[0].numbers, (std::vector<int>{1, 1}));
  EXPECT_EQ(read.list.parts[1].note, "X7R");
  // Empty lists, in either encoding.
  EXPECT_TRUE(readPartsList("", systemTable()).list.parts.empty());
  EXPECT_EQ(readPartsList(kUtf8ByteOrderMark, systemTable()).list.encoding, ListEncoding::kUtf8);
}

TEST(Utf8ToShiftJis, CharactersWithoutAFormOfTheirOwnBecomeQuestionMarks) {
  struct Case {
    std::string utf8;
    std::string shiftJis;
    std::size_t refused;
  };
  const Case cases[] = {
      {"10k 抵抗 ソ\\~", "10k " + kResistor + " \x83\x5c\\~", 0},
      // The NEC and IBM extensions: a character in both takes the IBM form.
      {"①ⅰ纊", "\x87\x40\xfa\x40\xfa\x5c", 0},
      // iconv's look-alikes: the yen sign as 0x5C, the wave dash as the
      // full-width tilde.
      {"¥1", "?1", 1},
      {"あ〜い", "\x82\xa0?\x82\xa2", 1},
      {"\xEF\xBF\xBD😀", "??", 2},  // U+FFFD and a character beyond code page 932
      // Bytes that are no UTF-8: a long form, a surrogate, a character cut
      // short, bytes that begin none.
      {"\xC0\x80|\xED\xA0\x80|a\xE3\x81", "??|???|a??", 7},
      {"\xF5\x80" "b\x80", "??b?", 3},
  };
  for (const Case& c : cases) {
    std::string out = "kept|";
    EXPECT_EQ(systemTable().append(c.utf8, out), c.refused) << c.utf8;
    EXPECT_EQ(out, "kept|" + c.shiftJis) << c.utf8;
  }
}

}  // namespace
}  // namespace vesk
