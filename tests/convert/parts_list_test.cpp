#include "convert/parts_list_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <tuple>

#include "schfile/sch_document.h"
#include "schobj/sch_component.h"

namespace vesk {
namespace {

TEST(PartsList, SplitReference) {
  using namespace std::string_literals;
  const std::tuple<std::string, std::string, int> cases[] = {
      {"R12", "R", 12},    {"IC10", "IC", 10},    {"C007", "C", 7},
      {"U1A", "U1A", 0},   {"TP", "TP", 0},       {"123", "", 123},
      {"R1-2", "R1-", 2},  {"", "", 0},           {"R99999999999", "R", INT_MAX},
      {"R\xb3", "R\xb3", 0}, {"R1\0"s "23", "R", 1}, {"-5", "-", 5},
  };
  for (const auto& [reference, prefix, number] : cases) {
    const ReferenceParts parts = splitReference(reference);
    EXPECT_EQ(parts.prefix, prefix) << reference;
    EXPECT_EQ(parts.number, number) << reference;
  }
}

// Many equal keys (50 references, 100 rows each, told apart only by their
// note): the rows keep collection order within each reference, and a list
// far longer than one write chunk goes out whole.
TEST(PartsList, WriteNeedsBuildAndLongListsKeepCollectionOrder) {
  std::string text = "+KOLVA_DATA_V.1.0\n";
  for (int i = 0; i < 5000; ++i) {
    text += "+COMPONENT,X:0,Y:0,LIB:R,N:1k,R:R" + std::to_string(50 - i % 50) +
            ",NOTE:" + std::to_string(i) + ",-COMPONENT\n";
  }
  SchDocument document;
  ASSERT_EQ(document.readMemory(text), 0);
  PartsListBuilder builder;
  builder.collect(document.objects());
  EXPECT_EQ(builder.collectedCount(), 5000u);

  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(builder.write(out), -1);
  EXPECT_EQ(std::ftell(out), 0);
  builder.build();
  EXPECT_EQ(builder.write(out), 0);
  std::string written(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  ASSERT_EQ(std::fread(written.data(), 1, written.size(), out), written.size());
  std::fclose(out);

  std::string expected;
  for (int number = 1; number <= 50; ++number) {
    for (int i = 50 - number; i < 5000; i += 50) {
      expected += (i < 50 ? ",\"R\"," : "*,\"R\",") + std::to_string(number) + ",\"1k\",\"" +
                  std::to_string(i) + "\"\r\n";
    }
  }
  EXPECT_EQ(written, expected);
}

std::string writtenBy(const PartsListBuilder& builder) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  if (out == nullptr) return {};
  EXPECT_EQ(builder.write(out), 0);
  std::string written(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  EXPECT_EQ(std::fread(written.data(), 1, written.size(), out), written.size());
  std::fclose(out);
  return written;
}

// A row may be far longer than the chunks the rows go out in (a note of
// quotes doubles in the file), before and after short ones.
TEST(PartsList, RowsLongerThanAWriteChunkGoOutWhole) {
  const std::string quotes(50000, '"');
  const std::string crs(70000, '\r');
  const std::string longNote = "a" + quotes + "\r\nb";
  ObjectList objects;
  const auto add = [&objects](const std::string& reference, const std::string& note) {
    auto component = std::make_unique<SchComponent>();
    component->setReference(reference);
    component->setName("N");
    component->setNote(note);
    objects.push_back(std::move(component));
  };
  add("R1", "short");
  add("R2", longNote);
  add("R3", crs);
  add("R4", longNote + longNote);
  add("R5", "end");
  PartsListBuilder builder;
  builder.collect(objects);
  builder.build();
  const std::string doubled(100000, '"');
  const std::string longField = "a" + doubled + "\nb";
  EXPECT_EQ(writtenBy(builder), ",\"R\",1,\"N\",\"short\"\r\n"
                                ",\"R\",2,\"N\",\"" + longField + "\"\r\n"
                                ",\"R\",3,\"N\",\"\"\r\n"
                                ",\"R\",4,\"N\",\"" + longField + longField + "\"\r\n"
                                ",\"R\",5,\"N\",\"end\"\r\n");
}

}  // namespace
}  // namespace vesk
