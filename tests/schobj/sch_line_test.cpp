#include "schobj/sch_line.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/object_test_support.h"

namespace vesk {
namespace {

using test::str;
constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

SchWire wireBetween(Point a, Point b) {
  SchWire wire;
  wire.setP1(a);
  wire.setP2(b);
  return wire;
}

TEST(SchLine, SegmentTouchesRectangle) {
  struct Case { Point a, b; Rect r; int expected; };
  const Rect unit(0, 0, 10, 10);
  const Case cases[] = {
      {{0, 0}, {10, 10}, {4, 0, 6, 2}, 0},  // passes below it
      {{0, 0}, {10, 10}, {4, 3, 6, 5}, 3},
      {{-10, 5}, {20, 5}, unit, 3},         // straight through, left to right
      {{-10, -10}, {-5, 20}, unit, 0},      // both ends left of it
      {{-10, 5}, {5, -10}, unit, 0},        // past the corner
      {{8, -20}, {-2, 30}, unit, 3},        // misses the left edge, meets the top
      {{-20, -25}, {20, 15}, unit, 3},      // meets the right edge
      // At the 32-bit limits the products exceed 64 signed bits.
      {{kMin, kMin}, {kMax, kMax}, {-10, -10, 10, 10}, 3},
      {{kMin, kMin}, {kMax, kMax}, {100, -100, 200, -50}, 0},
      {{kMin, kMax}, {kMax, kMin}, {100, 100, 200, 200}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wireBetween(c.a, c.b).testSelection(c.r), c.expected) << str(c.a) << " " << str(c.b);
    EXPECT_EQ(wireBetween(c.b, c.a).testSelection(c.r), c.expected) << str(c.b) << " " << str(c.a);
  }
  // The crossing at y = -0.5 truncates toward zero onto the top edge; from
  // the other end the same crossing computes as -1.
  EXPECT_EQ(wireBetween({-1, 0}, {3, -2}).testSelection(unit), 3);
  EXPECT_EQ(wireBetween({3, -2}, {-1, 0}).testSelection(unit), 0);
}

TEST(SchLine, EndBoxesDragSelectionAndArea) {
  SchWire wire = wireBetween({0, 0}, {100, 0});
  EXPECT_EQ(wire.testDragSelection({-5, -5, 5, 5}), 1);
  EXPECT_EQ(wire.testDragSelection({95, -5, 105, 5}), 2);
  EXPECT_EQ(wire.testDragSelection({40, -5, 60, 5}), 0);
  // The box around a point reaches 2 units up and left, 3 down and right.
  EXPECT_EQ(wire.hitTest({50, -3}), 0x10001);
  EXPECT_EQ(wire.hitTest({50, 3}), 0);
  EXPECT_TRUE(wire.touchesRect({101, -5, 110, 5}));
  EXPECT_FALSE(wire.touchesRect({40, 2, 60, 10}));

  wire = wireBetween({10, 10}, {50, 10});
  const std::pair<int, const char*> areas[] = {
      {0, "8,8,53,13"}, {1, "8,8,13,13"}, {2, "48,8,53,13"}, {3, "8,8,53,13"}};
  for (const auto& [selection, area] : areas) {
    wire.setSelection(selection);
    EXPECT_EQ(str(wire.area()), area) << selection;
    EXPECT_EQ(wire.refPoint(), selection == 2 ? Point(50, 10) : Point(10, 10));
  }
}

TEST(SchLine, ReadsTheFourRequiredKeys) {
  const std::pair<const char*, bool> cases[] = {
      {"Y2:40,X1:10,L:7,Y1:20,X2:30,-WIRE", true},
      {"X1:10,Y1:20,X2:30,-WIRE", false},            // no Y2
      {"X1:,Y1:20,X2:30,Y2:40,-WIRE", false},        // X1: is ignored
      {"x1:10,Y1:20,X2:30,Y2:40,-WIRE", false},      // keys are case-sensitive
      {"X1:10,Y1:20,X2:30,Y2:40,-BUS", false},
      {"X1:10,Y1:20,+FOO,X1:1,-FOO,X2:30,Y2:40,-WIRE", true},
  };
  for (const auto& [body, ok] : cases) {
    SchWire wire;
    EXPECT_EQ(test::readInto(wire, body), ok) << body;
    if (ok) {
      EXPECT_EQ(test::describe(wire), "4 L0 (10,20)-(30,40)") << body;
    }
  }
}

TEST(SchLine, WritesOneLineAndTransformsAtTheLimits) {
  SchWire wire = wireBetween({10, 20}, {60, 20});
  EXPECT_EQ(test::written(wire), "+WIRE,L:0,X1:10,Y1:20,X2:60,Y2:20,-WIRE\n");
  wire = wireBetween({kMax, kMin}, {kMin, kMax});
  wire.move(1, -1);
  wire.move(-1, 1);
  for (int i = 0; i < 4; ++i) wire.rotateAt({kMax, kMin});
  wire.mirrorAt(kMax);
  wire.mirrorAt(kMax);
  EXPECT_EQ(test::describe(wire), "4 L0 (2147483647,-2147483648)-(-2147483648,2147483647)");
  wire.rotate();  // about (0, 0); the ends wrap around
  EXPECT_EQ(test::describe(wire), "4 L0 (-2147483648,2147483647)-(-2147483647,-2147483648)");
}

}  // namespace
}  // namespace vesk
