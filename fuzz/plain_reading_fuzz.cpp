// Fuzz target: white space before a field changes nothing. The input is
// read as it stands and once more with a space after every comma and line
// end, which the field reader skips as white space before the next field
// and which keeps the bitmap rows from being taken where they stand in the
// reader's buffer. Both documents are written out and must match byte for
// byte.
//
// And leaving out the parts' pins and bitmaps, as the parts list does,
// changes nothing else: a third read of the input, with the details left
// out, must give the same result and problem and the same objects, the
// components compared by what the list takes from them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "schfile/record_writer.h"
#include "schfile/sch_document.h"
#include "schobj/sch_component.h"
#include "schobj/sch_object.h"

namespace {

std::string written(const vesk::SchDocument& document) {
  std::string text;
  vesk::RecordWriter writer(text);
  for (const auto& object : document.objects()) object->writeBlock(writer, nullptr);
  return text;
}

// Each object written out, but a component as its reference, name and note.
std::string listed(const vesk::SchDocument& document) {
  std::string text;
  vesk::RecordWriter writer(text);
  for (const auto& object : document.objects()) {
    if (object->typeId() != vesk::kTypeComponent) {
      object->writeBlock(writer, nullptr);
      continue;
    }
    const auto& component = static_cast<const vesk::SchComponent&>(*object);
    for (const std::string_view value : {component.reference(), component.name(), component.note()}) {
      writer.writeField(value);
    }
  }
  return text;
}

bool sameProblem(const vesk::ReadProblem& a, const vesk::ReadProblem& b) {
  return a.kind == b.kind && a.line == b.line && a.blockLine == b.blockLine &&
         a.block == b.block && a.key == b.key && a.found == b.found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string spaced;
  spaced.reserve(2 * size);
  for (const char c : input) {
    spaced.push_back(c);
    if (c == ',' || c == '\n') spaced.push_back(' ');
  }
  vesk::SchDocument plain;
  vesk::SchDocument general;
  const int plainResult = plain.readMemory(input);
  const int generalResult = general.readMemory(spaced);
  if (plainResult != generalResult) __builtin_trap();
  if (written(plain) != written(general)) __builtin_trap();
  vesk::SchDocument listOnly;
  listOnly.setPartDetails(vesk::PartDetails::kLeftOut);
  if (listOnly.readMemory(input) != plainResult) __builtin_trap();
  if (!sameProblem(listOnly.problem(), plain.problem())) __builtin_trap();
  if (listed(listOnly) != listed(plain)) __builtin_trap();
  return 0;
}
