#include "schobj/sch_component.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <string>

#include "partlib/part_def.h"
#include "schfile/record_reader.h"
#include "schfile/record_writer.h"
#include "schfile/sch_document.h"
#include "tests/support/test_data.h"

namespace vesk {
namespace {

// A quad part of 4 by 6 grid units, 4 blocks, one pin on each side (left
// at 1, top at 2, right at 3, bottom at 1) and a 20 by 2 pixel pattern.
const std::string kQuadSection = testDataBytes("partlib/quad_section.txt");

std::unique_ptr<SchComponent> readComponent(const std::string& body, bool* ok) {
  RecordReader reader(body);
  auto component = std::make_unique<SchComponent>();
  *ok = component->readBlock(reader, nullptr, nullptr);
  return component;
}

std::string written(SchComponent& component) {
  std::string text;
  RecordWriter writer(text);
  component.writeBlock(writer, nullptr);
  return text;
}

TEST(SchComponent, ExampleBlockLoadsAndWritesBackByteForByte) {
  SchDocument document;
  ASSERT_EQ(document.load(testDataPath("partlib/chip1_component.ce3").c_str()), 0);
  ASSERT_EQ(document.objects().size(), 1u);
  auto& c = static_cast<SchComponent&>(*document.objects()[0]);
  EXPECT_EQ((std::tuple(c.typeId(), c.p1(), c.reference(), c.pinCount(), c.pinSides())),
            std::tuple(kTypeComponent, Point(300, 200), "U1", 1, kPinSideLeft));
  const std::string file = testDataBytes("partlib/chip1_component.ce3");
  const std::size_t start = file.find("+COMPONENT");
  EXPECT_EQ(written(c), file.substr(start, file.find("-KOLVA_DATA") - start));
}

TEST(SchComponent, RoundTripKeepsEveryField) {
  bool ok = false;
  auto first = readComponent(kQuadSection +
                                 "X:-40,Y:70,LIB:QUAD,DIR:5,BLK:3,N:74HC00,NX:-3,NY:4,R:U7,"
                                 "RX:5,RY:-6,NOTE:a%2Cb:c%0D%0Ad,-COMPONENT\n",
                             &ok);
  ASSERT_TRUE(ok);
  const std::string text = written(*first);
  auto second = readComponent(text.substr(std::string("+COMPONENT\n").size()), &ok);
  ASSERT_TRUE(ok) << text;
  EXPECT_EQ(written(*second), text);
  const SchComponent& c = *second;
  EXPECT_EQ((std::tuple(c.p1(), c.partName(), c.direction(), c.block(), c.namePos(),
                        c.referencePos(), c.note())),
            std::tuple(Point(-40, 70), "QUAD", 5, 3, Point(-3, 4), Point(5, -6), "a,b:c\r\nd"));
  const PartDef& def = *c.partDef();
  EXPECT_EQ(def.pattern()->data(), (PartPattern::Bytes{0xff, 0x0f, 0xf0, 0, 1, 2, 3, 0}));
  EXPECT_EQ(def.pin(0)->name(), "\xc3\xd3");
  EXPECT_EQ(def.pin(0)->flags(), kPinFlagS | kPinFlagN | kPinFlagC | kPinFlagM);
  EXPECT_EQ(def.pin(0)->numbers(), (PartPin::Numbers{"1", "4", "9", "12"}));
  // A number never read is written empty and reads back empty.
  EXPECT_EQ(def.pin(1)->numbers(), (PartPin::Numbers{"2", "5", "", ""}));
}

TEST(SchComponent, WithoutADefinitionWritesNoSectionAndReadsBack) {
  SchComponent component;
  component.setP1(Point(10, 20));
  component.setReference("R5");
  component.setPartName("RES");
  const std::string text = written(component);
  EXPECT_EQ(text, "+COMPONENT\nL:0,X:10,Y:20,LIB:RES,DIR:0,BLK:0,N:,NX:2,NY:20,R:R5,RX:2,RY:10,"
                  "NOTE:,-COMPONENT\n");
  bool ok = false;
  auto back = readComponent(text.substr(11), &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(back->partDef(), nullptr);
  EXPECT_EQ(written(*back), text);

  // With a definition but neither name nor part name, the part is "EMB".
  component.setPartDef(std::make_unique<PartDef>());
  component.setPartName("");
  EXPECT_NE(written(component).find("\n+COMP,N:EMB\nX:0,Y:0,B:1\n"), std::string::npos);
}

TEST(SchComponent, ReadRules) {
  const std::string& lib = kQuadSection;
  // what, block body, read ok, direction, block, part name, has a definition
  const std::tuple<const char*, std::string, bool, int, int, const char*, bool> cases[] = {
      {"no section; BLK ignored", "X:1,Y:2,LIB:R,BLK:1,L:3", true, 0, 0, "R", false},
      {"empty values", "X:,Y:,LIB:", true, 0, 0, "", false},
      {"X missing", "Y:2,LIB:R", false, 0, 0, "", false},
      {"LIB missing; keys are case-sensitive", "X:1,Y:2,lib:R", false, 0, 0, "", false},
      {"DIR out of range", "X:1,Y:2,LIB:R,DIR:3,DIR:8,DIR:-1", true, 3, 0, "R", false},
      {"DIR without digits", "X:1,Y:2,LIB:R,DIR:3,DIR:x", true, 0, 0, "R", false},
      {"BLK before the section", "BLK:2,LIB:A," + lib + "X:1,Y:2", true, 0, 0, "Q", true},
      {"BLK after the section", lib + "BLK:2,X:1,Y:2,LIB:B", true, 0, 2, "B", true},
      {"BLK beyond the blocks", lib + "BLK:4,X:1,Y:2,LIB:B", true, 0, 0, "B", true},
      {"second section skipped",
       lib + "+KOLVA_LIB_V.1.0,+COMP,N:Z,X:1,Y:1,B:1,-COMP,-KOLVA_LIB_V.1.0,BLK:3,X:1,Y:2,LIB:L",
       true, 0, 3, "L", true},
      {"other version skipped",
       "+KOLVA_LIB_V.2.0,+COMP,N:Z,X:1,Y:1,B:1,-COMP,-KOLVA_LIB_V.2.0,X:1,Y:2,LIB:L", true, 0, 0,
       "L", false},
      {"stray -COMP", "X:1,Y:2,LIB:R,-COMP", false, 0, 0, "", false},
      {"failed section", "+KOLVA_LIB_V.1.0,-KOLVA_LIB_V.1.0,X:1,Y:2,LIB:R", false, 0, 0, "", false},
      {"unknown block cut off", "X:1,Y:2,LIB:R,+FOO", false, 0, 0, "", false},
  };
  for (const auto& [what, body, ok, direction, block, partName, hasDef] : cases) {
    bool read = false;
    auto c = readComponent(body + ",-COMPONENT\n", &read);
    ASSERT_EQ(read, ok) << what;
    if (!ok) continue;
    EXPECT_EQ((std::tuple(c->direction(), c->block(), c->partName(), c->partDef() != nullptr)),
              std::tuple(direction, block, partName, hasDef))
        << what;
  }
}

TEST(SchComponent, CloneSharesNothing) {
  bool ok = false;
  auto source = readComponent(kQuadSection + "X:5,Y:6,LIB:Q,N:74HC00,R:U3,NOTE:n,-COMPONENT\n",
                              &ok);
  ASSERT_TRUE(ok);
  std::unique_ptr<SchObject> copy = source->clone();
  source.reset();  // the sanitizers catch any use of what the copy shared
  const auto& c = static_cast<const SchComponent&>(*copy);
  EXPECT_EQ((std::tuple(c.reference(), c.name(), c.note(), c.pinCount())),
            std::tuple("U3", "74HC00", "n", 4));
  EXPECT_EQ(c.partDef()->pin(3)->numbers()[3], "14");
  EXPECT_EQ(c.partDef()->pattern()->data()[0], 0xff);
}

TEST(SchComponent, PinPlacementInEveryOrientation) {
  bool ok = false;
  auto c = readComponent(kQuadSection + "X:100,Y:200,LIB:Q,-COMPONENT\n", &ok);
  ASSERT_TRUE(ok);
  const std::pair<int, std::array<Point, 4>> cases[] = {
      {0, {{{50, 150}, {80, 130}, {110, 170}, {70, 210}}}},
      {1, {{{90, 150}, {110, 180}, {70, 210}, {30, 170}}}},
      {2, {{{110, 190}, {80, 210}, {50, 170}, {90, 130}}}},
      {4, {{{110, 150}, {80, 130}, {50, 170}, {90, 210}}}},
      {6, {{{50, 190}, {80, 210}, {110, 170}, {70, 130}}}},
      {7, {{{90, 210}, {110, 180}, {70, 150}, {30, 190}}}},
  };
  for (const auto& [direction, pins] : cases) {
    c->setDirection(direction);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c->pinPosition(i), pins[i]) << direction << " " << i;
  }
  EXPECT_EQ(c->pinPosition(4), Point(0, 0));
}

TEST(SchComponent, PinSidesAreaHitsRotationAndMirror) {
  bool ok = false;
  auto c = readComponent(
      "+KOLVA_LIB_V.1.0,+COMP,N:P,X:2,Y:4,B:1,+PIN,L:L0,-PIN,+PIN,L:T1,-PIN,-COMP,"
      "-KOLVA_LIB_V.1.0,X:100,Y:100,LIB:P,DIR:5,N:AB,R:R1,-COMPONENT\n",
      &ok);
  ASSERT_TRUE(ok);
  // Turned once and mirrored: left faces the top, top the right, then the
  // mirror puts right on the left.
  EXPECT_EQ(c->pinSides(), kPinSideTop | kPinSideLeft);
  EXPECT_EQ(c->bodyRect(), Rect(60, 80, 100, 100));
  EXPECT_EQ(c->area(), Rect(50, 70, 100, 100));
  EXPECT_EQ(c->hitTest(Point(80, 90)), 0x10000 + 65);
  EXPECT_EQ(c->hitTest(Point(110, 115)), 0x20000 + 65);  // name at (102, 110), 16 by 10

  c->rotate();
  EXPECT_EQ((std::tuple(c->direction(), c->pinSides())),
            std::tuple(4, kPinSideTop | kPinSideRight));
  c->mirror();  // about the body's centre
  EXPECT_EQ((std::tuple(c->direction(), c->pinSides(), c->p1(), c->namePos())),
            std::tuple(0, kPinSideTop | kPinSideLeft, Point(100, 100), Point(-20 - 2 - 16, 20)));

  SchComponent plain;
  plain.setP1(Point(30, 10));  // a 20 by 20 body centred on (20, 0)
  plain.rotateAt(Point(0, 0));
  EXPECT_EQ(plain.bodyRect().center(), Point(0, 20));
}

TEST(SchComponent, GeometryWrapsAtThe32BitLimits) {
  bool ok = false;
  auto c = readComponent(kQuadSection + "X:2147483647,Y:-2147483648,LIB:Q,DIR:7,N:" +
                             std::string(1000, 'n') + ",-COMPONENT\n",
                         &ok);
  ASSERT_TRUE(ok);
  c->move(INT_MAX, INT_MIN);
  EXPECT_EQ(c->p1(), Point(-2, 0));
  c->setP1(Point(INT_MIN, INT_MAX));
  EXPECT_EQ(c->bodyRect(), Rect(2147483588, 2147483607, INT_MIN, INT_MAX));  // 60 by 40, wrapped
  // The sanitizers fail these on any overflow.
  for (int i = 0; i < 4; ++i) c->pinPosition(i);
  c->area();
  c->hitTest(Point(INT_MAX, INT_MIN));
  c->rotateAt(Point(INT_MAX, INT_MIN));
  c->mirrorAt(INT_MAX);
  c->mirror();
  EXPECT_EQ(c->direction(), 6);  // turned 7 -> 6; the two mirrors cancel
}

}  // namespace
}  // namespace vesk
