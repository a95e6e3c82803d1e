#include "geometry/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "schfile/number_text.h"
#include "schobj/sch_object.h"

namespace vesk {
namespace {

TEST(ParseNumber, AtoiSemanticsClampedTo32Bits) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"12abc", 12},         {"abc", 0},           {" -7", -7},       {"\t+8", 8},
      {"", 0},               {"-", 0},             {"- 5", 0},        {"007", 7},
      {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN}, {"99999999999999999999999999", INT_MAX},
      {"-99999999999999999999999999", INT_MIN}, {"\x80" "5", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(parseNumber(text), value) << text;
}

TEST(Geometry, RectBasics) {
  Rect acc = Rect::emptyAccumulator();
  acc.unite(Rect(1, 2, 3, 4));
  EXPECT_EQ(acc, Rect(1, 2, 3, 4));

  Rect r = Rect::fromCorners(Point(10, 20), Point(0, 5));
  r.normalize();
  EXPECT_EQ(r, Rect(0, 5, 10, 20));
  EXPECT_EQ(Rect(-3, -3, 0, 0).center(), Point(-1, -1)) << "truncates toward zero";
  EXPECT_EQ(Rect(INT_MAX, INT_MIN, INT_MAX, INT_MAX).center(), Point(INT_MAX, 0));
  EXPECT_TRUE(Rect(0, 0, 10, 10).intersects(Rect(10, 10, 20, 20))) << "touching edges intersect";
  EXPECT_FALSE(Rect(0, 0, 10, 10).intersects(Rect(11, 0, 20, 10)));
  EXPECT_EQ(Rect::fromOriginExtent(INT_MAX, 0, 1, 0).right, INT_MIN) << "wraps";
}

TEST(Geometry, HitScoreAndOutCode) {
  EXPECT_EQ(hitScore(Point(5, 5), Rect(0, 0, 10, 10)), 65);
  EXPECT_EQ(hitScore(Point(0, 5), Rect(0, 0, 10, 10)), 0);
  EXPECT_EQ(hitScore(Point(100, 100), Rect(98, 98, 103, 103)), 37);
  EXPECT_EQ(hitScore(Point(0, 0), Rect(-10, -10, 10, 10)), 65);
  // The distances reach 2^31 here: 16 * (2^31 - 1) / (2^32 - 1) = 7 on each axis.
  EXPECT_EQ(hitScore(Point(0, 0), Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX)), 7 * 7 + 1);

  const Rect r(0, 0, 10, 10);
  EXPECT_EQ(outCode(Point(5, 5), r), 0);
  EXPECT_EQ(outCode(Point(10, 0), r), 0);
  EXPECT_EQ(outCode(Point(-1, 5), r), 1);
  EXPECT_EQ(outCode(Point(11, -1), r), 4 | 2);
  EXPECT_EQ(outCode(Point(-1, 11), r), 1 | 8);
}

// A minimal concrete object for the base class defaults.
class PlainObject : public SchObject {
 public:
  int typeId() const override { return 99; }
};

TEST(SchObject, DefaultMoveRotateMirror) {
  PlainObject o;
  EXPECT_EQ(o.p1(), Point(-1, -1));
  EXPECT_EQ(o.area(), Rect(-1, -1, -1, -1));
  EXPECT_EQ(o.clone(), nullptr);

  o.setP1(Point(0, 0));
  o.setP2(Point(0, 0));
  o.move(10000, 0);
  EXPECT_EQ(o.p1(), Point(10000, 0));
  EXPECT_EQ(o.p2(), Point(10000, 0));
  o.setSelection(kSelectP2);
  o.move(1, 1);
  EXPECT_EQ(o.p1(), Point(10000, 0));
  EXPECT_EQ(o.p2(), Point(10001, 1));

  o.setP1(Point(10, 0));
  o.setP2(Point(0, 10));
  o.rotateAt(Point(0, 0));
  EXPECT_EQ(o.p1(), Point(0, 10));
  EXPECT_EQ(o.p2(), Point(-10, 0));

  o.setP1(Point(0, 0));
  o.setP2(Point(10, 5));
  o.mirror();  // about x = 5
  EXPECT_EQ(o.p1(), Point(10, 0));
  EXPECT_EQ(o.p2(), Point(0, 5));
}

TEST(SchObject, GeometryAtThe32BitLimitsWraps) {
  PlainObject o;
  o.setP1(Point(INT_MAX, INT_MIN));
  o.setP2(Point(INT_MIN, INT_MAX));
  o.move(1, -1);
  EXPECT_EQ(o.p1(), Point(INT_MIN, INT_MAX));
  o.rotateAt(Point(INT_MAX, INT_MAX));
  o.mirrorAt(INT_MIN);
  o.rotate();
  o.mirror();
  SUCCEED() << "no overflow reported by the sanitizers";
}

}  // namespace
}  // namespace vesk
