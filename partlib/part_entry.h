// PartEntry: a part definition together with the name it is filed under.
//
// A part library is a list of named entries; a placed component owns one
// unnamed entry holding its own copy of its part. The entry owns its
// definition exclusively: copying an entry copies the definition.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "partlib/part_def.h"

namespace vesk {

class PartEntry {
 public:
  PartEntry() = default;
  explicit PartEntry(PartDef def) : def_(std::move(def)) {}

  std::optional<std::string_view> name() const { return name_; }
  // The definition, or null when the entry has none.
  const PartDef* def() const { return def_ ? &*def_ : nullptr; }

  void setName(std::optional<std::string_view> name) { keepText(name_, name); }
  void setDef(PartDef def) { def_ = std::move(def); }

 private:
  std::optional<std::string> name_;
  // Held in place: every component owns one, and a separate block for each
  // would cost an allocation and a header per component.
  std::optional<PartDef> def_;
};

}  // namespace vesk
