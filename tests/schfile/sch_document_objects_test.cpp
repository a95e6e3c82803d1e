// The document reader with every line, junction, entry and text block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/object_test_support.h"
#include "schfile/object_factory.h"
#include "schfile/sch_document.h"
#include "memory/object_arena.h"

namespace vesk {
namespace {

std::vector<std::string> describeAll(const SchDocument& document) {
  std::vector<std::string> out;
  for (const auto& object : document.objects()) out.push_back(test::describe(*object));
  return out;
}

TEST(SchDocumentObjects, WorkedExampleKeepsJunctionAndSecondWire) {
  SchDocument document;
  ASSERT_EQ(document.readMemory("+KOLVA_DATA_V.1.0\n"
                                "+SHEETINFO,EL:0,VL:255,W:2000,H:1500,-SHEETINFO\n"
                                "+WIRE,L:0,X1:100,Y1:100,X2:100,Y2:100,-WIRE\n"
                                "+FOO,A:1,-FOO\n"
                                "+JUNCTION,L:0,X:120,Y:80,-JUNCTION\n"
                                "+WIRE,L:0,X1:10,Y1:20,X2:60,Y2:20,-WIRE\n"
                                "-KOLVA_DATA_V.1.0\n"),
            0);
  EXPECT_EQ(document.sheetSize(), Point(2000, 1500));
  EXPECT_EQ(describeAll(document),
            (std::vector<std::string>{"0 L0 (120,80)-(0,0)", "4 L0 (10,20)-(60,20)"}));
}

// Every class written by its writer reads back to the same object, with and
// without an offset (what an entry keeps of its upper end and a tag's far
// end are rebuilt the same way on each read).
TEST(SchDocumentObjects, EveryKindLoadsInOrderAndSurvivesWriting) {
  SchDocument document;
  ASSERT_EQ(document.readMemory(
                "+KOLVA_DATA_V.1.0\n"
                "+BUS,X1:0,Y1:0,X2:0,Y2:100,-BUS\n"
                "+DASH,X1:-2147483648,Y1:2147483647,X2:50,Y2:50,-DASH\n"
                "+ENTRY,X1:5,Y1:5,X2:5,Y2:5,-ENTRY\n"  // equal ends, still kept
                "+BENTRY,X1:0,Y1:20,X2:10,Y2:10,-BENTRY\n"
                "+LABEL,X:1,Y:2,D:0,S:\x93\xfa\x96\x7b a%2Cb%25,-LABEL\n"
                "+TAG,X:1,Y:2,D:0,T:1,S:,-TAG\n"  // empty text, still kept
                "+TAG,X:2147483647,Y:0,D:1,T:3,S:ABCDEFGHIJKLMNOP,-TAG\n"
                "+COMMENT,X:1,Y:2,S:hello,FN:MS Gothic,FS:10,FF:BS,-COMMENT\n"
                "+WIRE,X1:0,Y1:0,X2:1,Y2:0,-WIRE\n"),
            0);
  std::vector<int> types;
  for (const auto& object : document.objects()) types.push_back(object->typeId());
  EXPECT_EQ(types, (std::vector<int>{3, 5, 1, 2, 6, 7, 7, 10, 4}));

  std::string file = "+KOLVA_DATA_V.1.0\n";
  const Point offset(-7, 1000);
  for (const auto& object : document.objects()) {
    const auto copy = object->clone();
    file += test::written(*copy);
    const std::string line = test::written(*copy, &offset);
    RecordReader reader(line);
    std::string tag;
    reader.readField(tag);
    ObjectArena arena;
    const auto shifted = makeObjectForTag(tag, arena);
    ASSERT_TRUE(shifted && shifted->readBlock(reader, &offset, nullptr)) << tag;
    EXPECT_EQ(test::describe(*shifted), test::describe(*object));
  }
  SchDocument reread;
  ASSERT_EQ(reread.readMemory(file), 0) << file;
  EXPECT_EQ(describeAll(reread), describeAll(document));
}

}  // namespace
}  // namespace vesk
