// What tells one part of a parts list from another: the prefix of its
// references, its name and its note, compared byte for byte (the grouped
// list gives each such part one row). A key with `Text` = std::string owns
// its texts; with std::string_view it points into texts that outlive it.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace vesk {

template <typename Text>
struct PartTextsKey {
  Text prefix, name, note;
  bool operator==(const PartTextsKey&) const = default;
};

struct PartTextsKeyHash {
  template <typename Text>
  std::size_t operator()(const PartTextsKey<Text>& key) const {
    const std::hash<std::string_view> hash;
    return (hash(key.prefix) * 31 + hash(key.name)) * 31 + hash(key.note);
  }
};

}  // namespace vesk
