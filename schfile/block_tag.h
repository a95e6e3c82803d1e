// BlockTag: the name of a block kind of the schematic format, and the two
// tags made from it: the start tag "+" and the name, the end tag "-" and
// the name. Each block kind states its name once, as a BlockTag constant,
// which its reader, its writer and the dispatch on its start tag all use.
// A constant: it owns nothing and any thread may read it.
#pragma once

#include <cstddef>
#include <string_view>

namespace vesk {

class BlockTag {
 public:
  // Room for the longest name of the format, "KOLVA_DATA_V.1.0".
  static constexpr std::size_t kLongestName = 23;

  // No name: the rules that several block kinds share (the lines), whose
  // readers name their block when they read it.
  constexpr BlockTag() = default;
  template <std::size_t N>
  consteval explicit BlockTag(const char (&name)[N]) : name_(name, N - 1) {
    static_assert(N - 1 <= kLongestName, "a block name longer than kLongestName");
    start_[0] = '+';
    end_[0] = '-';
    for (std::size_t i = 0; i < name_.size(); ++i) start_[i + 1] = end_[i + 1] = name[i];
  }

  // The name views the literal it was made from, which a zero byte ends.
  constexpr std::string_view name() const { return name_; }
  constexpr std::string_view start() const { return {start_, name_.size() + 1}; }
  constexpr std::string_view end() const { return {end_, name_.size() + 1}; }

 private:
  std::string_view name_ = "";
  char start_[kLongestName + 1] = {};
  char end_[kLongestName + 1] = {};
};

}  // namespace vesk
