#include "schobj/sch_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>

#include "tests/support/object_test_support.h"

namespace vesk {
namespace {

SchTag readTag(const std::string& body) {
  SchTag tag;
  EXPECT_TRUE(test::readInto(tag, body)) << body;
  return tag;
}

TEST(SchTag, LengthGrowsWithTheText) {
  const std::pair<std::size_t, int> cases[] = {{0, 20},   {1, 20},   {7, 80},   {8, 80},
                                               {9, 90},   {12, 120}, {13, 130}, {15, 140},
                                               {16, 150}, {32768, 262170}};
  for (const auto& [n, length] : cases) EXPECT_EQ(SchTag::lengthForText(n), length) << n;
  const int huge = SchTag::lengthForText(std::numeric_limits<std::size_t>::max());
  EXPECT_TRUE(huge > 262170 && huge % 10 == 0) << huge;
}

TEST(SchTag, ReadComputesTheFarEndAndMapsTheShape) {
  const SchTag flat = readTag("X:100,Y:100,D:1,T:1,S:ABC,-TAG");
  EXPECT_EQ(test::describe(flat), "7 L0 (100,100)-(140,100) 'ABC' 11");
  EXPECT_EQ(test::str(flat.area()), "100,95,141,106");
  const SchTag upright = readTag("X:100,Y:100,D:0,T:1,S:ABC,-TAG");
  EXPECT_EQ(upright.p2(), Point(100, 60));
  EXPECT_EQ(test::str(upright.area()), "95,60,106,101");
  EXPECT_EQ(readTag("X:0,Y:0,D:1,T:,S:,-TAG").p2(), Point(20, 0));  // empty values count
  const std::pair<const char*, int> shapes[] = {{"T:7", 0}, {"T:-1", 0}, {"T:3", 3}};
  for (const auto& [field, shape] : shapes) {
    EXPECT_EQ(readTag(std::string("X:0,Y:0,D:1,S:a,") + field + ",-TAG").shape(), shape) << field;
  }
  SchTag tag;
  EXPECT_FALSE(test::readInto(tag, "X:0,Y:0,D:1,S:a,-TAG"));  // no T
}

TEST(SchTag, MirrorAndRotationSwapShapesAndKeepEndsInOrder) {
  SchTag flat = readTag("X:100,Y:100,D:1,T:1,S:ABC,-TAG");
  flat.mirrorAt(0);
  EXPECT_EQ(test::describe(flat), "7 L0 (-140,100)-(-100,100) 'ABC' 12");
  SchTag upright = readTag("X:100,Y:100,D:0,T:1,S:ABC,-TAG");
  upright.mirror();
  EXPECT_EQ(upright.shape(), 1);
  SchTag turned = readTag("X:0,Y:0,D:0,T:2,S:ABC,-TAG");  // (0, 0) up to (0, -40)
  turned.rotateAt({0, 0});
  EXPECT_EQ(test::describe(turned), "7 L0 (0,0)-(40,0) 'ABC' 11");
  turned.rotateAt({0, 0});  // horizontal to vertical keeps the shape; lower end first
  EXPECT_EQ(test::describe(turned), "7 L0 (0,40)-(0,0) 'ABC' 01");
  turned.rotate();  // about the centre of its area, (0, 20)
  EXPECT_EQ(test::describe(turned), "7 L0 (-20,20)-(20,20) 'ABC' 12");
}

TEST(SchLabel, ReadsAndMeasuresItsText) {
  SchLabel label;
  ASSERT_TRUE(test::readInto(label, "X:200,Y:80,D:5,S:A:B,-LABEL"));
  EXPECT_EQ(test::describe(label), "6 L0 (200,80)-(0,0) 'A:B' 1");
  EXPECT_EQ(test::str(label.area()), "200,70,224,80");
  label.rotate();
  EXPECT_EQ(label.p1(), Point(200, 80));
  EXPECT_EQ(test::str(label.area()), "190,56,200,80");
  for (const char* body : {"X:1,Y:2,D:1,S:,-LABEL", "X:1,Y:2,S:a,-LABEL", "X:1,Y:2,D:1,S:a,-TAG"}) {
    EXPECT_FALSE(test::readInto(label, body)) << body;
  }
}

TEST(SchComment, FontKeysClampAndOnlySetStyles) {
  const std::pair<const char*, const char*> cases[] = {
      {"FS:2", "4 0000"}, {"FS:200", "80 0000"}, {"FS:33,FF:BU", "33 1010"},
      {"FF:bu", "12 0000"}, {"FF:SxI,FF:", "12 0101"}};
  for (const auto& [extra, font] : cases) {
    SchComment comment;
    // Styles and size of an earlier read do not carry over.
    ASSERT_TRUE(test::readInto(comment, "X:0,Y:0,S:old,FS:50,FF:BIUS,-COMMENT"));
    ASSERT_TRUE(test::readInto(comment, std::string("X:0,Y:0,S:n,") + extra + ",-COMMENT"));
    EXPECT_EQ(test::describe(comment), std::string("10 L0 (0,0)-(0,0) 'n' '' ") + font) << extra;
  }
}

TEST(SchComment, AreaFallsBackUntilMeasured) {
  SchComment comment;
  ASSERT_TRUE(test::readInto(comment, "X:0,Y:50,S:note,-COMMENT"));
  EXPECT_EQ(test::str(comment.area()), "0,40,20,50");
  EXPECT_TRUE(comment.touchesRect({1000, 1000, 1001, 1001}));
  comment.setMeasuredExtent(30, {100, 40});
  EXPECT_EQ(test::str(comment.area()), "0,20,100,60");
  comment.setFontSize(90);  // the measured size no longer holds
  EXPECT_EQ(test::str(comment.area()), "0,40,20,50");
  EXPECT_FALSE(test::readInto(comment, "X:0,Y:50,FN:Mincho,-COMMENT"));  // no S
}

TEST(TextObjects, WriteTheirKeysInOrder) {
  SchLabel label;
  ASSERT_TRUE(test::readInto(label, "X:200,Y:80,D:1,S:CLK IN,-LABEL"));
  EXPECT_EQ(test::written(label), "+LABEL,L:0,X:200,Y:80,D:1,S:CLK%20IN,-LABEL\n");
  SchTag tag = readTag("X:3,Y:4,D:0,T:2,S:a,-TAG");
  EXPECT_EQ(test::written(tag), "+TAG,L:0,X:3,Y:4,D:0,T:2,S:a,-TAG\n");
  SchComment comment;
  ASSERT_TRUE(test::readInto(comment, "X:1,Y:2,S:x,FF:SUIB,-COMMENT"));
  EXPECT_EQ(test::written(comment), "+COMMENT,L:0,X:1,Y:2,S:x,FN:,FS:12,FF:BIUS,-COMMENT\n");
}

}  // namespace
}  // namespace vesk
