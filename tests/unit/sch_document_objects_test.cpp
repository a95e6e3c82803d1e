// The document reader with every line, junction, entry and text block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "object_test_support.h"
#include "schfile/sch_document.h"

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
  const std::vector<std::string> expected = {"type 0 layer 0 p1 (120,80) p2 (0,0)",
                                             "type 4 layer 0 p1 (10,20) p2 (60,20)"};
  EXPECT_EQ(describeAll(document), expected);
}

TEST(SchDocumentObjects, EveryKindLoadsInOrderAndSurvivesWriting) {
  const std::string body =
      "+BUS,X1:0,Y1:0,X2:0,Y2:100,-BUS\n"
      "+DASH,X1:0,Y1:0,X2:50,Y2:50,-DASH\n"
      "+ENTRY,X1:5,Y1:5,X2:5,Y2:5,-ENTRY\n"  // equal ends, still kept
      "+BENTRY,X1:0,Y1:20,X2:10,Y2:10,-BENTRY\n"
      "+LABEL,X:1,Y:2,D:1,S:NET1,-LABEL\n"
      "+TAG,X:1,Y:2,D:0,T:1,S:,-TAG\n"  // empty text, still kept
      "+COMMENT,X:1,Y:2,S:hello,FN:Gothic,FS:10,FF:B,-COMMENT\n"
      "+WIRE,X1:0,Y1:0,X2:1,Y2:0,-WIRE\n";
  SchDocument document;
  ASSERT_EQ(document.readMemory("+KOLVA_DATA_V.1.0\n" + body), 0);
  std::vector<int> types;
  for (const auto& object : document.objects()) types.push_back(object->typeId());
  EXPECT_EQ(types, (std::vector<int>{3, 5, 1, 2, 6, 7, 10, 4}));

  std::string file = "+KOLVA_DATA_V.1.0\n";
  for (const auto& object : document.objects()) file += test::written(*object->clone());
  SchDocument reread;
  ASSERT_EQ(reread.readMemory(file), 0) << file;
  EXPECT_EQ(describeAll(reread), describeAll(document));
}

TEST(SchDocumentObjects, ABadObjectBlockFailsTheDocument) {
  for (const char* block : {"+LABEL,X:1,Y:2,D:1,S:,-LABEL", "+COMMENT,X:1,Y:2,S:,-COMMENT",
                            "+WIRE,X1:0,Y1:0,X2:1,Y2:0,-BUS", "+JUNCTION,X:1,-JUNCTION",
                            "+TAG,X:1,Y:2,D:0,T:1,S:a"}) {
    SchDocument document;
    EXPECT_EQ(document.readMemory(std::string("+KOLVA_DATA_V.1.0,+JUNCTION,X:0,Y:0,-JUNCTION,") +
                                  block),
              1)
        << block;
    EXPECT_EQ(document.objects().size(), 1u) << block;
  }
}

}  // namespace
}  // namespace vesk
