// Files that come from anywhere: every malformed input gets its documented
// result, nothing crashes, and the conversion writes nothing for a file
// that fails. The files live in tests/data/hostile/.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "partlib/part_def.h"
#include "schfile/sch_document.h"
#include "schobj/sch_component.h"
#include "schobj/sch_text.h"

namespace vesk {
namespace {

std::string hostile(const char* name) {
  return std::string(VESK_TEST_DATA_DIR) + "/hostile/" + name;
}

struct HostileCase {
  const char* file;
  int loadResult;
  std::size_t objects;
};

TEST(HostileInput, EveryFileGetsItsDocumentedResult) {
  const std::vector<HostileCase> cases = {
      {"empty.ce3", 0, 0},
      {"wrong_magic.ce3", 2, 0},
      {"binary_garbage.ce3", 2, 0},
      {"garbage_after_magic.ce3", 1, 0},
      {"cut_in_component.ce3", 1, 0},
      {"cut_in_library.ce3", 1, 0},
      {"cut_in_part.ce3", 1, 0},
      {"cut_in_pin.ce3", 1, 0},
      {"cut_in_pattern.ce3", 1, 0},
      {"cut_in_bitmap.ce3", 1, 0},
      {"cut_in_wire.ce3", 1, 0},
      {"broken_escape.ce3", 1, 0},
      {"long_field.ce3", 0, 1},
      {"huge_bitmap.ce3", 0, 1},
      {"wide_bitmap.ce3", 0, 1},
      {"extreme_numbers.ce3", 0, 3},
  };
  for (const HostileCase& c : cases) {
    SchDocument document;
    EXPECT_EQ(document.load(hostile(c.file).c_str()), c.loadResult) << c.file;
    if (c.loadResult == 0) {
      EXPECT_EQ(document.objects().size(), c.objects) << c.file;
    }
  }
}

TEST(HostileInput, OversizedBitmapsAreDroppedAndThePartKept) {
  for (const char* file : {"huge_bitmap.ce3", "wide_bitmap.ce3"}) {
    SchDocument document;
    ASSERT_EQ(document.load(hostile(file).c_str()), 0) << file;
    ASSERT_EQ(document.objects().size(), 1u);
    const auto* component = dynamic_cast<const SchComponent*>(document.objects()[0].get());
    ASSERT_NE(component, nullptr);
    ASSERT_NE(component->partDef(), nullptr) << file;
    EXPECT_EQ(component->partDef()->pattern(), nullptr) << file;
    EXPECT_EQ(component->pinCount(), 1) << file;
  }
}

TEST(HostileInput, OverLongFieldIsCutAtItsLimit) {
  SchDocument document;
  ASSERT_EQ(document.load(hostile("long_field.ce3").c_str()), 0);
  const auto* label = dynamic_cast<const SchLabel*>(document.objects().at(0).get());
  ASSERT_NE(label, nullptr);
  // "S:" and 32,766 letters fill the field; the rest of the letters are a
  // field without a colon, which the label ignores.
  EXPECT_EQ(label->text(), std::string(32766, 'A'));
}

TEST(HostileInput, ExtremeNumbersClamp) {
  SchDocument document;
  ASSERT_EQ(document.load(hostile("extreme_numbers.ce3").c_str()), 0);
  EXPECT_EQ(document.sheetSize(), Point(1500, 1000)) << "out-of-range sizes are ignored";
  const SchComponent* component = nullptr;
  for (const auto& object : document.objects()) {
    if (object->typeId() == kTypeComponent) component = static_cast<const SchComponent*>(object.get());
  }
  ASSERT_NE(component, nullptr);
  EXPECT_EQ(component->p1(), Point(INT_MAX, INT_MIN));
  EXPECT_EQ(component->direction(), 0) << "a DIR beyond the range is ignored";
  EXPECT_EQ(component->block(), 0);
}

TEST(HostileInput, AFailingFileInARunLeavesTheOutputEmpty) {
  const std::string good = std::string(VESK_EXAMPLES_DIR) + "/amp_main.ce3";
  for (const char* bad : {"cut_in_bitmap.ce3", "wrong_magic.ce3", "binary_garbage.ce3"}) {
    const std::string badPath = hostile(bad);
    const char* paths[] = {good.c_str(), badPath.c_str(), good.c_str()};
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(runConversion(3, paths, out), kConversionInputFailed) << bad;
    EXPECT_EQ(std::ftell(out), 0L) << bad;
    std::fclose(out);
  }
}

}  // namespace
}  // namespace vesk
