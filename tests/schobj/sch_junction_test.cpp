#include "schobj/sch_junction.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/object_test_support.h"

namespace vesk {
namespace {

TEST(SchJunction, ReadsXAndYAndKeepsABoxAroundThePoint) {
  const std::pair<const char*, bool> cases[] = {
      {"X:5,L:3,Y:7,-JUNCTION", true}, {"X:5,-JUNCTION", false},
      {"X:5,Y:,-JUNCTION", false},  // an empty value does not count
      {"X:5,Y:7,-LABEL", false},     {"X:5,Y:7", false}};
  for (const auto& [body, ok] : cases) {
    SchJunction junction;
    EXPECT_EQ(test::readInto(junction, body), ok) << body;
    if (ok) {
      EXPECT_EQ(test::describe(junction), "0 L0 (5,7)-(0,0)");
    }
  }
  SchJunction junction;
  junction.setP1({100, 100});
  junction.setP2({7, 7});  // a junction has no second point
  EXPECT_EQ(test::str(junction.area()), "98,98,103,103");
  EXPECT_EQ(junction.hitTest({100, 100}), 65536 + 37);
  EXPECT_EQ(junction.hitTest({98, 100}), 0);
  EXPECT_EQ(junction.testSelection({103, 103, 200, 200}), 3);
  junction.rotate();
  junction.mirror();
  junction.rotateAt({0, 0});
  EXPECT_EQ(test::written(junction), "+JUNCTION,L:0,X:-100,Y:100,-JUNCTION\n");
}

// Reading takes the lower end as it stands and rebuilds the upper end from
// the direction alone.
TEST(SchEntry, ReadingNormalisesToTheLowerEnd) {
  const std::pair<const char*, const char*> cases[] = {
      {"X1:100,Y1:50,X2:90,Y2:40,-ENTRY", "1 L0 (100,50)-(90,40)"},
      {"X1:90,Y1:40,X2:100,Y2:70,-ENTRY", "1 L0 (100,70)-(90,60)"},
      {"X1:10,Y1:10,X2:10,Y2:10,-ENTRY", "1 L0 (10,10)-(0,0)"},
      {"X1:0,Y1:0,X2:500,Y2:-3,-ENTRY", "1 L0 (0,0)-(10,-10)"}};
  for (const auto& [body, expected] : cases) {
    SchEntry entry;
    ASSERT_TRUE(test::readInto(entry, body)) << body;
    EXPECT_EQ(test::describe(entry), expected);
  }
  SchBusEntry busEntry;
  busEntry.rotateAt({5, 5});
  busEntry.rotateAt({5, 5});  // now p1 is the upper end: writing swaps the ends first
  EXPECT_EQ(test::written(busEntry), "+BENTRY,L:0,X1:0,Y1:10,X2:10,Y2:0,-BENTRY\n");
  EXPECT_EQ(busEntry.p1(), Point(0, 10));
}

TEST(SchEntry, SettersKeepTheShape) {
  SchEntry entry;  // (0, 10) to (10, 0): direction right
  entry.setY1(40);
  EXPECT_EQ(entry.p2(), Point(10, 30));
  entry.setX1(40);
  entry.setP2({0, 0});
  EXPECT_EQ(test::describe(entry), "1 L0 (40,40)-(50,30)");
  EXPECT_EQ(entry.testDragSelection({39, 39, 41, 41}), 3);  // the whole entry or nothing
  // Turned upside down, the ends are put back in order before the lower
  // one moves to the point given (here the entry's own p1).
  entry.rotateAt({40, 40});
  entry.rotateAt({40, 40});
  entry.setP1(entry.p1());
  EXPECT_EQ(test::describe(entry), "1 L0 (40,40)-(50,30)");
  entry.setX1(std::numeric_limits<int>::max());
  EXPECT_EQ(entry.p2().x, std::numeric_limits<int>::min() + 9);
}

}  // namespace
}  // namespace vesk
