#include "memory/object_arena.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "convert/parts_list_builder.h"
#include "partlib/part_def.h"
#include "schfile/sch_document.h"
#include "schobj/sch_component.h"
#include "schobj/sch_line.h"
#include "tests/support/test_data.h"

namespace vesk {
namespace {

// Texts too long for a string's inline buffer, so that a component whose
// destructor does not run, or runs twice, shows up as a leak or a double
// free under the sanitizers.
const std::string kLongName(100, 'n');
const std::string kLongNote(200, 'x');

std::unique_ptr<SchComponent> componentWithLongTexts(ObjectArena* arena) {
  auto component = arena ? arena->make<SchComponent>() : std::make_unique<SchComponent>();
  component->setName(kLongName);
  component->setReference("R1");
  component->setNote(kLongNote);
  component->setPartDef(std::make_unique<PartDef>());
  return component;
}

TEST(ObjectArena, CopiesBetweenArenaAndHeapEachFreeTheirOwnMemory) {
  ObjectArena arena;
  ObjectList objects;
  objects.push_back(componentWithLongTexts(&arena));
  // A clone of an arena object lives on the heap; an arena copy of a heap
  // object lives in the arena. Deleting each must free exactly its own.
  std::unique_ptr<SchObject> heapClone = objects[0]->clone();
  std::unique_ptr<SchComponent> heapOriginal = componentWithLongTexts(nullptr);
  std::unique_ptr<SchComponent> arenaCopy = arena.make<SchComponent>(*heapOriginal);
  objects.clear();
  heapOriginal.reset();
  ASSERT_NE(heapClone, nullptr);
  EXPECT_EQ(static_cast<const SchComponent&>(*heapClone).note(), kLongNote);
  EXPECT_EQ(arenaCopy->name(), kLongName);
  ASSERT_NE(arenaCopy->partDef(), nullptr);
}

TEST(ObjectArena, ManyObjectsSpanSeveralBlocksAndStayApart) {
  ObjectArena arena;
  std::vector<std::unique_ptr<SchWire>> wires;
  for (int i = 0; i < 100000; ++i) {
    wires.push_back(arena.make<SchWire>());
    wires.back()->setP1(Point(i, -i));
    wires.back()->setP2(Point(-i, i));
  }
  for (int i = 0; i < 100000; i += 997) {
    EXPECT_EQ(wires[static_cast<std::size_t>(i)]->p1(), Point(i, -i));
    EXPECT_EQ(wires[static_cast<std::size_t>(i)]->p2(), Point(-i, i));
  }
}

TEST(ObjectArena, CopiesOutliveTheDocumentTheyCameFrom) {
  // The rows keep texts of their own: the document and its arena are gone
  // before the rows are sorted and read.
  PartsListBuilder builder;
  {
    SchDocument document;
    ASSERT_EQ(document.load(testDataPath("partlib/chip1_component.ce3").c_str()), 0);
    builder.collect(document.objects());
    document.clear();
    ASSERT_EQ(document.readMemory("+KOLVA_DATA_V.1.0\n"), 0);
  }
  builder.build();
  ASSERT_NE(builder.entries(), nullptr);
  ASSERT_EQ(builder.entries()->size(), 1u);
  EXPECT_FALSE((*builder.entries())[0]->prefix.empty());
}

}  // namespace
}  // namespace vesk
