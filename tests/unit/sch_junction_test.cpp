#include "schobj/sch_junction.h"

#include <gtest/gtest.h>

#include <limits>

#include "object_test_support.h"

namespace vesk {
namespace {

TEST(SchJunction, ReadsXAndYOnly) {
  struct Case {
    const char* body;
    bool ok;
  };
  const Case cases[] = {
      {"X:5,L:3,Y:7,-JUNCTION", true},
      {"X:5,-JUNCTION", false},
      {"X:5,Y:,-JUNCTION", false},  // an empty value does not count
      {"X:5,Y:7,-LABEL", false},
      {"X:5,Y:7", false},
  };
  for (const Case& c : cases) {
    SchJunction junction;
    EXPECT_EQ(test::readInto(junction, c.body), c.ok) << c.body;
    if (c.ok) {
      EXPECT_EQ(junction.p1(), Point(5, 7));
      EXPECT_EQ(junction.layer(), 0);
    }
  }
}

TEST(SchJunction, GeometryOfTheBoxAroundThePoint) {
  SchJunction junction;
  junction.setP1({100, 100});
  junction.setP2({7, 7});  // a junction has no second point
  EXPECT_EQ(junction.p2(), Point(0, 0));
  EXPECT_EQ(junction.area(), Rect(98, 98, 103, 103));
  EXPECT_EQ(junction.hitTest({100, 100}), 65536 + 37);
  EXPECT_EQ(junction.hitTest({98, 100}), 0);
  EXPECT_EQ(junction.testSelection({103, 103, 200, 200}), 3);
  EXPECT_EQ(junction.testDragSelection({104, 0, 200, 200}), 0);
  EXPECT_TRUE(junction.touchesRect({0, 0, 98, 98}));
  junction.rotate();
  junction.mirror();
  EXPECT_EQ(junction.p1(), Point(100, 100));
  junction.rotateAt({0, 0});
  EXPECT_EQ(junction.p1(), Point(-100, 100));
  EXPECT_EQ(test::written(junction), "+JUNCTION,L:0,X:-100,Y:100,-JUNCTION\n");
}

// Reading takes the lower end as it stands and rebuilds the upper end from
// the direction alone.
TEST(SchEntry, ReadingNormalisesToTheLowerEnd) {
  struct Case {
    const char* body;
    Point p1, p2;
  };
  const Case cases[] = {
      {"X1:100,Y1:50,X2:90,Y2:40,-ENTRY", {100, 50}, {90, 40}},
      {"X1:90,Y1:40,X2:100,Y2:70,-ENTRY", {100, 70}, {90, 60}},
      {"X1:10,Y1:10,X2:10,Y2:10,-ENTRY", {10, 10}, {0, 0}},
      {"X1:0,Y1:0,X2:500,Y2:-3,-ENTRY", {0, 0}, {10, -10}},
  };
  for (const Case& c : cases) {
    SchEntry entry;
    ASSERT_TRUE(test::readInto(entry, c.body)) << c.body;
    EXPECT_EQ(entry.p1(), c.p1) << c.body;
    EXPECT_EQ(entry.p2(), c.p2) << c.body;
    EXPECT_TRUE(entry.isValid());
  }
  SchBusEntry busEntry;
  EXPECT_FALSE(test::readInto(busEntry, "X1:1,Y1:2,X2:3,Y2:4,-ENTRY"));
  EXPECT_TRUE(test::readInto(busEntry, "X1:1,Y1:2,X2:3,Y2:4,-BENTRY"));
  EXPECT_EQ(busEntry.typeId(), 2);
}

TEST(SchEntry, SettersKeepTheShape) {
  SchEntry entry;  // (0, 10) to (10, 0): direction right
  entry.setY1(40);
  EXPECT_EQ(entry.p2(), Point(10, 30));
  entry.setX1(40);
  EXPECT_EQ(entry.p1(), Point(40, 40));
  EXPECT_EQ(entry.p2(), Point(50, 30));
  entry.setP2({0, 0});
  EXPECT_EQ(entry.p2(), Point(50, 30));
  // Turned upside down, the ends are put back in order before the lower
  // one moves to the point given (here the entry's own p1).
  entry.rotateAt({40, 40});
  entry.rotateAt({40, 40});
  ASSERT_EQ(entry.p2(), Point(30, 50));
  entry.setP1(entry.p1());
  EXPECT_EQ(entry.p1(), Point(40, 40));
  EXPECT_EQ(entry.p2(), Point(50, 30));
  entry.setX1(std::numeric_limits<int>::max());
  EXPECT_EQ(entry.p2().x, std::numeric_limits<int>::min() + 9);
}

TEST(SchEntry, DragSelectionTakesTheWholeEntry) {
  SchEntry entry;
  EXPECT_EQ(entry.testDragSelection({-1, 9, 1, 11}), 3);
  EXPECT_EQ(entry.testDragSelection({20, 20, 30, 30}), 0);
}

TEST(SchEntry, WritingPutsTheLowerEndFirst) {
  SchBusEntry entry;
  entry.rotateAt({5, 5});
  entry.rotateAt({5, 5});  // now (10, 0) to (0, 10): p1 is the upper end
  EXPECT_EQ(test::written(entry), "+BENTRY,L:0,X1:0,Y1:10,X2:10,Y2:0,-BENTRY\n");
  EXPECT_EQ(entry.p1(), Point(0, 10));
  for (const char* text : {"+ENTRY,X1:7,Y1:-3,X2:-100,Y2:8,-ENTRY",
                           "+BENTRY,X1:-2147483648,Y1:2147483647,X2:5,Y2:5,-BENTRY"}) {
    const auto first = test::readWhole(text);
    ASSERT_NE(first, nullptr) << text;
    const auto again = test::readWhole(test::written(*first->clone()));
    ASSERT_NE(again, nullptr) << text;
    EXPECT_EQ(test::describe(*again), test::describe(*first));
  }
  SchJunction junction;
  const Point offset(-5, 5);
  ASSERT_TRUE(test::readInto(junction, "X:1,Y:2,-JUNCTION", &offset));
  EXPECT_EQ(junction.p1(), Point(-4, 7));
  EXPECT_EQ(test::describe(*test::readWhole(test::written(junction, &offset), &offset)),
            test::describe(junction));
}

}  // namespace
}  // namespace vesk
