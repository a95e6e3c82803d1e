#include "schobj/sch_line.h"

#include <gtest/gtest.h>

#include <limits>

#include "object_test_support.h"

namespace vesk {
namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

SchWire wireBetween(Point a, Point b) {
  SchWire wire;
  wire.setP1(a);
  wire.setP2(b);
  return wire;
}

TEST(SchLine, SegmentTouchesRectangle) {
  struct Case {
    Point a, b;
    Rect r;
    int expected;
  };
  const Case cases[] = {
      {{0, 0}, {10, 10}, {4, 0, 6, 2}, 0},      // passes below the rectangle
      {{0, 0}, {10, 10}, {4, 3, 6, 5}, 3},
      {{-10, 5}, {20, 5}, {0, 0, 10, 10}, 3},   // left to right, straight through
      {{5, -10}, {5, 20}, {0, 0, 10, 10}, 3},   // top to bottom
      {{-10, -10}, {-5, 20}, {0, 0, 10, 10}, 0},  // both ends left of it
      {{5, 5}, {100, 100}, {0, 0, 10, 10}, 3},  // one end inside
      {{-10, 5}, {5, -10}, {0, 0, 10, 10}, 0},  // cuts past the corner
      {{3, -20}, {-7, 30}, {0, 0, 10, 10}, 0},
      {{8, -20}, {-2, 30}, {0, 0, 10, 10}, 3},  // misses the left edge, meets the top
      {{-20, -25}, {20, 15}, {0, 0, 10, 10}, 3},  // meets the right edge
      // Coordinates at the 32-bit limits: products beyond 64 signed bits.
      {{kMin, kMin}, {kMax, kMax}, {-10, -10, 10, 10}, 3},
      {{kMin, kMin}, {kMax, kMax}, {100, -100, 200, -50}, 0},
      {{kMin, kMax}, {kMax, kMin}, {-10, -10, 10, 10}, 3},
      {{kMin, kMax}, {kMax, kMin}, {100, 100, 200, 200}, 0},
  };
  for (const Case& c : cases) {
    const SchWire wire = wireBetween(c.a, c.b);
    EXPECT_EQ(wire.testSelection(c.r), c.expected)
        << test::pointText(c.a) << "-" << test::pointText(c.b);
    const SchWire reversed = wireBetween(c.b, c.a);
    EXPECT_EQ(reversed.testSelection(c.r), c.expected) << "reversed";
  }
  // The crossing at y = -0.5 truncates toward zero onto the top edge; from
  // the other end the same crossing computes as y = -1 (the result depends
  // on which end comes first).
  EXPECT_EQ(wireBetween({-1, 0}, {3, -2}).testSelection({0, 0, 10, 10}), 3);
  EXPECT_EQ(wireBetween({3, -2}, {-1, 0}).testSelection({0, 0, 10, 10}), 0);
}

TEST(SchLine, DragSelectionReportsTheEndsInside) {
  const SchWire wire = wireBetween({0, 0}, {100, 0});
  EXPECT_EQ(wire.testDragSelection({-5, -5, 5, 5}), 1);
  EXPECT_EQ(wire.testDragSelection({95, -5, 105, 5}), 2);
  EXPECT_EQ(wire.testDragSelection({40, -5, 60, 5}), 0);
  EXPECT_EQ(wire.testDragSelection({-5, -5, 105, 5}), 3);
  EXPECT_EQ(wire.testDragSelection({-5, 10, 105, 20}), 0);
}

TEST(SchLine, AreaFollowsTheSelectedEnds) {
  SchWire wire = wireBetween({10, 10}, {50, 10});
  EXPECT_EQ(wire.area(), Rect(8, 8, 53, 13));
  wire.setSelection(kSelectP2);
  EXPECT_EQ(wire.area(), Rect(48, 8, 53, 13));
  EXPECT_EQ(wire.refPoint(), Point(50, 10));
  wire.setSelection(kSelectP1);
  EXPECT_EQ(wire.area(), Rect(8, 8, 13, 13));
  wire.setSelection(3);
  EXPECT_EQ(wire.area(), Rect(8, 8, 53, 13));
  EXPECT_EQ(wire.refPoint(), Point(10, 10));
  EXPECT_EQ(wireBetween({50, 30}, {10, 10}).pointRect(), Rect(10, 10, 50, 30));
}

TEST(SchLine, HitAndTouchUseTheBoxesAroundPointAndRectangle) {
  const SchWire wire = wireBetween({0, 0}, {100, 0});
  // The box around the point reaches 2 units up but 3 down.
  EXPECT_EQ(wire.hitTest({50, 2}), 0x10001);
  EXPECT_EQ(wire.hitTest({50, -3}), 0x10001);
  EXPECT_EQ(wire.hitTest({50, 3}), 0);
  EXPECT_TRUE(wire.touchesRect({40, 1, 60, 10}));
  EXPECT_TRUE(wire.touchesRect({101, -5, 110, 5}));
  EXPECT_FALSE(wire.touchesRect({40, 2, 60, 10}));
}

TEST(SchLine, ReadsTheFourRequiredKeys) {
  struct Case {
    const char* body;
    bool ok;
  };
  const Case cases[] = {
      {"Y2:40,X1:10,L:7,Y1:20,X2:30,-WIRE", true},
      {"X1:10,Y1:20,X2:30,-WIRE", false},          // no Y2
      {"X1:,X1:10,Y1:20,X2:30,Y2:40,-WIRE", true},  // X1: is ignored
      {"X1:,Y1:20,X2:30,Y2:40,-WIRE", false},
      {"x1:10,Y1:20,X2:30,Y2:40,-WIRE", false},     // keys are case-sensitive
      {"X1:10,Y1:20,X2:30,Y2:40,-BUS", false},
      {"X1:10,Y1:20,+FOO,X1:1,-FOO,X2:30,Y2:40,-WIRE", true},
      {"X1:10,Y1:20,X2:30,Y2:40", false},           // end of input
  };
  for (const Case& c : cases) {
    SchWire wire;
    EXPECT_EQ(test::readInto(wire, c.body), c.ok) << c.body;
    if (c.ok) {
      EXPECT_EQ(wire.p1(), Point(10, 20)) << c.body;
      EXPECT_EQ(wire.p2(), Point(30, 40)) << c.body;
      EXPECT_EQ(wire.layer(), 0);
    }
  }
  SchBus bus;
  ASSERT_TRUE(test::readInto(bus, "X1:5,Y1:5,X2:5,Y2:5,-BUS"));
  EXPECT_FALSE(bus.isValid());
}

TEST(SchLine, WritesOneLineAndReadsBackWithTheOffset) {
  SchWire wire = wireBetween({10, 20}, {60, 20});
  EXPECT_EQ(test::written(wire), "+WIRE,L:0,X1:10,Y1:20,X2:60,Y2:20,-WIRE\n");
  const Point offset(100, -50);
  SchDash dash;
  ASSERT_TRUE(test::readInto(dash, "X1:1,Y1:2,X2:3,Y2:4,-DASH", &offset));
  EXPECT_EQ(dash.p1(), Point(101, -48));
  EXPECT_EQ(test::written(dash, &offset), "+DASH,L:0,X1:1,Y1:2,X2:3,Y2:4,-DASH\n");
  for (const char* text : {"+WIRE,L:0,X1:-3,Y1:4,X2:2147483647,Y2:9,-WIRE",
                           "+BUS,L:0,X1:1,Y1:2,X2:3,Y2:4,-BUS",
                           "+DASH,L:0,X1:-2147483648,Y1:2147483647,X2:0,Y2:0,-DASH"}) {
    const auto first = test::readWhole(text);
    ASSERT_NE(first, nullptr) << text;
    const auto copy = first->clone();
    const auto again = test::readWhole(test::written(*copy));
    ASSERT_NE(again, nullptr) << text;
    EXPECT_EQ(test::describe(*again), test::describe(*first));
  }
}

TEST(SchLine, TransformsAtTheLimitsWrapAndUndo) {
  SchWire wire = wireBetween({kMax, kMin}, {kMin, kMax});
  const std::string start = test::describe(wire);
  wire.move(1, -1);
  EXPECT_EQ(wire.p1(), Point(kMin, kMax));
  wire.move(-1, 1);
  for (int i = 0; i < 4; ++i) wire.rotateAt({kMax, kMin});
  wire.mirrorAt(kMax);
  wire.mirrorAt(kMax);
  EXPECT_EQ(test::describe(wire), start);
  wire.rotate();  // about (0, 0); the ends wrap around
  EXPECT_EQ(wire.p1(), Point(kMin, kMax));
  EXPECT_EQ(wire.p2(), Point(kMin + 1, kMin));
}

}  // namespace
}  // namespace vesk
