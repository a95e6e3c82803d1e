#include "schobj/sch_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>

#include "object_test_support.h"

namespace vesk {
namespace {

SchTag readTag(const char* body) {
  SchTag tag;
  EXPECT_TRUE(test::readInto(tag, body)) << body;
  return tag;
}

TEST(SchTag, LengthGrowsWithTheText) {
  const std::pair<std::size_t, int> cases[] = {
      {0, 20}, {1, 20}, {3, 40}, {7, 80}, {8, 80}, {9, 90}, {12, 120}, {13, 130}, {14, 140},
      {15, 140}, {16, 150}, {32768, 262170}};
  for (const auto& [bytes, length] : cases) EXPECT_EQ(SchTag::lengthForText(bytes), length) << bytes;
  const int huge = SchTag::lengthForText(std::numeric_limits<std::size_t>::max());
  EXPECT_GT(huge, 262170);
  EXPECT_EQ(huge % 10, 0);
}

TEST(SchTag, ReadComputesTheFarEnd) {
  const SchTag flat = readTag("X:100,Y:100,D:1,T:1,S:ABC,-TAG");
  EXPECT_EQ(flat.p2(), Point(140, 100));
  EXPECT_EQ(flat.area(), Rect(100, 95, 141, 106));
  EXPECT_EQ(flat.pinPosition(0), Point(100, 100));
  EXPECT_EQ(flat.pinPosition(1), Point(140, 100));
  EXPECT_EQ(flat.hitTest({120, 100}), 65536 + hitScore({120, 100}, flat.area()));
  const SchTag upright = readTag("X:100,Y:100,D:0,T:1,S:ABC,-TAG");
  EXPECT_EQ(upright.p2(), Point(100, 60));
  EXPECT_EQ(upright.area(), Rect(95, 60, 106, 101));
  EXPECT_EQ(readTag("X:0,Y:0,D:1,T:,S:,-TAG").p2(), Point(20, 0));  // empty values count
}

TEST(SchTag, ShapeOutsideOneToThreeReadsZero) {
  const std::pair<const char*, int> cases[] = {{"T:7", 0}, {"T:-1", 0}, {"T:", 0}, {"T:3", 3},
                                               {"T:2x", 2}};
  for (const auto& [field, shape] : cases) {
    const std::string body = std::string("X:0,Y:0,D:1,S:a,") + field + ",-TAG";
    EXPECT_EQ(readTag(body.c_str()).shape(), shape) << field;
  }
  SchTag tag;
  EXPECT_FALSE(test::readInto(tag, "X:0,Y:0,D:1,S:a,-TAG"));  // no T
}

TEST(SchTag, MirrorAndRotationSwapShapesAndKeepEndsInOrder) {
  SchTag flat = readTag("X:100,Y:100,D:1,T:1,S:ABC,-TAG");
  flat.mirrorAt(0);
  EXPECT_EQ(flat.shape(), 2);
  EXPECT_EQ(flat.p1(), Point(-140, 100));
  EXPECT_EQ(flat.p2(), Point(-100, 100));
  SchTag upright = readTag("X:100,Y:100,D:0,T:1,S:ABC,-TAG");
  upright.mirror();
  EXPECT_EQ(upright.shape(), 1);
  SchTag turned = readTag("X:0,Y:0,D:0,T:2,S:ABC,-TAG");  // (0, 0) up to (0, -40)
  turned.rotateAt({0, 0});
  EXPECT_TRUE(turned.horizontal());
  EXPECT_EQ(turned.shape(), 1);
  EXPECT_EQ(turned.p1(), Point(0, 0));
  EXPECT_EQ(turned.p2(), Point(40, 0));
  turned.rotateAt({0, 0});  // horizontal to vertical keeps the shape
  EXPECT_EQ(turned.shape(), 1);
  EXPECT_EQ(turned.p1(), Point(0, 40));  // the lower end first
  EXPECT_EQ(turned.p2(), Point(0, 0));
  turned.rotate();
  EXPECT_EQ(turned.p1(), Point(-20, 20));
  EXPECT_EQ(turned.p2(), Point(20, 20));
}

TEST(SchLabel, ReadsAndMeasuresItsText) {
  SchLabel label;
  ASSERT_TRUE(test::readInto(label, "X:200,Y:80,D:5,S:A:B,-LABEL"));
  EXPECT_EQ(label.text(), "A:B");
  EXPECT_TRUE(label.horizontal());
  EXPECT_EQ(label.area(), Rect(200, 70, 224, 80));
  label.rotate();
  EXPECT_EQ(label.p1(), Point(200, 80));
  EXPECT_EQ(label.area(), Rect(190, 56, 200, 80));
  EXPECT_EQ(label.testSelection({0, 0, 190, 56}), 3);
  EXPECT_FALSE(label.touchesRect({201, 0, 300, 300}));
  for (const char* body : {"X:1,Y:2,D:1,S:,-LABEL", "X:1,Y:2,S:a,-LABEL", "X:1,Y:2,D:1,S:a,-TAG"}) {
    SchLabel other;
    EXPECT_FALSE(test::readInto(other, body)) << body;
  }
}

TEST(SchComment, FontKeysClampAndOnlySetStyles) {
  struct Case {
    const char* extra;
    int size;
    const char* styles;  // bold, italic, underline, strike-out
  };
  const Case cases[] = {
      {"FS:2", 4, "0000"},   {"FS:200", 80, "0000"}, {"FS:33,FF:BU", 33, "1010"},
      {"FF:bu", 12, "0000"}, {"FF:SxI,FF:", 12, "0101"},
  };
  for (const Case& c : cases) {
    SchComment comment;
    // Styles and size of an earlier read do not carry over.
    ASSERT_TRUE(test::readInto(comment, "X:0,Y:0,S:old,FS:50,FF:BIUS,-COMMENT"));
    const std::string body = std::string("X:0,Y:50,S:note,") + c.extra + ",-COMMENT";
    ASSERT_TRUE(test::readInto(comment, body)) << body;
    EXPECT_EQ(comment.fontSize(), c.size) << c.extra;
    const std::string styles = {char('0' + comment.bold()), char('0' + comment.italic()),
                                char('0' + comment.underline()), char('0' + comment.strikeOut())};
    EXPECT_EQ(styles, c.styles) << c.extra;
  }
}

TEST(SchComment, AreaFallsBackUntilMeasured) {
  SchComment comment;
  ASSERT_TRUE(test::readInto(comment, "X:0,Y:50,S:note,-COMMENT"));
  EXPECT_EQ(comment.area(), Rect(0, 40, 20, 50));
  EXPECT_FALSE(comment.extentValid());
  EXPECT_TRUE(comment.touchesRect({1000, 1000, 1001, 1001}));
  EXPECT_EQ(comment.testSelection({1000, 1000, 1001, 1001}), 0);
  comment.setMeasuredExtent(30, {100, 40});
  EXPECT_EQ(comment.area(), Rect(0, 20, 100, 60));
  EXPECT_FALSE(comment.touchesRect({1000, 1000, 1001, 1001}));
  comment.setFontSize(90);
  EXPECT_EQ(comment.fontSize(), 80);
  EXPECT_EQ(comment.area(), Rect(0, 40, 20, 50));
  EXPECT_FALSE(test::readInto(comment, "X:0,Y:50,FN:Mincho,-COMMENT"));  // no S
}

TEST(TextObjects, WriteInKeyOrderAndReadBack) {
  SchLabel label;
  ASSERT_TRUE(test::readInto(label, "X:200,Y:80,D:1,S:CLK IN,-LABEL"));
  EXPECT_EQ(test::written(label), "+LABEL,L:0,X:200,Y:80,D:1,S:CLK%20IN,-LABEL\n");
  SchComment comment;
  ASSERT_TRUE(test::readInto(comment, "X:1,Y:2,S:x,-COMMENT"));
  EXPECT_EQ(test::written(comment), "+COMMENT,L:0,X:1,Y:2,S:x,FN:,FS:12,FF:,-COMMENT\n");
  const Point offset(10, 20);
  for (const char* text : {
           "+LABEL,X:-5,Y:7,D:0,S:\x93\xfa\x96\x7b,-LABEL",
           "+TAG,X:3,Y:4,D:0,T:2,S:a%2Cb%25,-TAG",
           "+TAG,X:2147483647,Y:-2147483648,D:1,T:3,S:ABCDEFGHIJKLMNOP,-TAG",
           "+COMMENT,X:1,Y:2,S:two words,FN:MS Gothic,FS:9,FF:IS,-COMMENT",
           "+COMMENT,X:1,Y:2,S:plain,FF:BIUS,-COMMENT",
       }) {
    const auto first = test::readWhole(text, &offset);
    ASSERT_NE(first, nullptr) << text;
    const auto again = test::readWhole(test::written(*first->clone(), &offset), &offset);
    ASSERT_NE(again, nullptr) << text;
    EXPECT_EQ(test::describe(*again), test::describe(*first));
  }
}

}  // namespace
}  // namespace vesk
