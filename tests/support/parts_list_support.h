// Helpers of the parts-list tests: a sorted list built from components
// made on the fly, and what a writer makes of it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "convert/parts_list_builder.h"
#include "convert/parts_list_writer.h"
#include "schobj/sch_component.h"

namespace vesk::test {

struct ComponentTexts {
  std::string reference, name, note;
};

// The builder after collecting `inputs`, one collect call (one input file)
// each, and building.
inline std::unique_ptr<PartsListBuilder> builtList(
    const std::vector<std::vector<ComponentTexts>>& inputs) {
  auto builder = std::make_unique<PartsListBuilder>();
  for (const auto& components : inputs) {
    ObjectList objects;
    for (const ComponentTexts& texts : components) {
      auto component = std::make_unique<SchComponent>();
      component->setReference(texts.reference);
      component->setName(texts.name);
      component->setNote(texts.note);
      objects.push_back(std::move(component));
    }
    builder->collect(objects);
  }
  builder->build();
  return builder;
}

// The bytes `write` writes to the stream it is given.
template <class Write>
std::string writtenTo(const Write& write) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  if (out == nullptr) return {};
  write(out);
  std::string written(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  EXPECT_EQ(std::fread(written.data(), 1, written.size(), out), written.size());
  std::fclose(out);
  return written;
}

// The bytes `writer` writes for `rows`.
inline std::string writtenBy(const PartsListWriter& writer, const SortedPartsList& rows) {
  return writtenTo([&](std::FILE* out) { writer.write(rows, out); });
}

}  // namespace vesk::test
