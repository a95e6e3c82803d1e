// PartEntry: a part definition together with the name it is filed under.
//
// A part library is a list of named entries; a placed component owns one
// unnamed entry holding its own copy of its part. The entry owns its
// definition exclusively: copying an entry copies the definition.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "partlib/part_def.h"

namespace vesk {

class PartEntry {
 public:
  PartEntry() = default;
  explicit PartEntry(std::unique_ptr<PartDef> def) : def_(std::move(def)) {}

  const std::optional<std::string>& name() const { return name_; }
  const PartDef* def() const { return def_.get(); }

  void setName(std::optional<std::string> name) { name_ = std::move(name); }
  void setDef(std::unique_ptr<PartDef> def) { def_ = std::move(def); }

 private:
  std::optional<std::string> name_;
  std::unique_ptr<PartDef> def_;
};

}  // namespace vesk
