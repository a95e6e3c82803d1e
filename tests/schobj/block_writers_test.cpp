// The writers held to the readers: every block kind is written with the
// keys of its reading table, in that table's order, which is the order the
// reader tries first.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "partlib/part_def.h"
#include "schfile/record_reader.h"
#include "schobj/sch_component.h"
#include "schobj/sch_sheet_info.h"
#include "tests/support/object_test_support.h"
#include "tests/support/test_data.h"

namespace vesk {
namespace {

// The keys that `text` gives each block kind, as written in its first
// block of that kind (outside the blocks nested in it), a key repeated in
// a row (a pin's numbers) counted once.
std::map<std::string, std::vector<std::string>> keysByBlock(const std::string& text) {
  std::map<std::string, std::vector<std::string>> keys;
  std::vector<std::string> open;  // the names of the blocks the field stands in
  std::map<std::string, bool> done;
  RecordReader reader(text);
  std::string field;
  while (reader.readField(field) != -1) {
    if (field.empty() || (open.empty() && field[0] != '+')) continue;
    if (field[0] == '+') {
      open.push_back(field.substr(1));
    } else if (field[0] == '-') {
      done[open.back()] = true;
      open.pop_back();
    } else if (const auto colon = field.find(':'); colon != std::string::npos && !done[open.back()]) {
      std::vector<std::string>& seen = keys[open.back()];
      if (seen.empty() || seen.back() != field.substr(0, colon)) seen.push_back(field.substr(0, colon));
    }
  }
  return keys;
}

TEST(BlockWriters, WriteTheKeysOfTheirReadingTablesInOrder) {
  // A part with a pattern, so that its part block names the pattern, and
  // pins of four blocks, so that they carry several numbers.
  SchComponent component;
  ASSERT_TRUE(test::readInto(component, testDataBytes("partlib/quad_section.txt") +
                                            "X:0,Y:0,LIB:Q,-COMPONENT\n"));
  std::vector<std::unique_ptr<SchObject>> objects;
  objects.push_back(std::make_unique<SchJunction>());
  objects.push_back(std::make_unique<SchWire>());
  objects.push_back(std::make_unique<SchBus>());
  objects.push_back(std::make_unique<SchDash>());
  objects.push_back(std::make_unique<SchEntry>());
  objects.push_back(std::make_unique<SchBusEntry>());
  objects.push_back(std::make_unique<SchLabel>());
  objects.push_back(std::make_unique<SchTag>());
  objects.push_back(std::make_unique<SchComment>());
  objects.push_back(std::make_unique<SchSheetInfo>());
  std::string text = test::written(component);
  for (const auto& object : objects) text += test::written(*object);
  const auto written = keysByBlock(text);

  const std::pair<BlockTag, std::span<const std::string_view>> tables[] = {
      {SchJunction::kTag, SchJunction::blockKeys()}, {SchWire::kTag, SchLine::blockKeys()},
      {SchBus::kTag, SchLine::blockKeys()},          {SchDash::kTag, SchLine::blockKeys()},
      {SchEntry::kTag, SchLine::blockKeys()},        {SchBusEntry::kTag, SchLine::blockKeys()},
      {SchLabel::kTag, SchLabel::blockKeys()},       {SchTag::kTag, SchTag::blockKeys()},
      {SchComment::kTag, SchComment::blockKeys()},   {SchSheetInfo::kTag, SchSheetInfo::blockKeys()},
      {SchComponent::kTag, SchComponent::blockKeys()}, {kPartTag, partBlockKeys()},
      {kPinTag, pinBlockKeys()},                     {kPatternTag, patternBlockKeys()},
  };
  for (const auto& [tag, keys] : tables) {
    const auto found = written.find(std::string(tag.name()));
    ASSERT_NE(found, written.end()) << tag.name() << " not written";
    EXPECT_EQ(found->second, std::vector<std::string>(keys.begin(), keys.end())) << tag.name();
  }
}

}  // namespace
}  // namespace vesk
