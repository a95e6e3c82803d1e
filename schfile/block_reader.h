// Reading one block of the schematic format after its start tag, by the
// rules of its kind.
//
// A block is a run of fields up to its end tag (BlockTag): key fields
// ("key:value", split at the first colon), nested blocks (a start tag ...
// its end tag) and fields without a usable key. The BlockRules of a block
// kind are the one statement of its keys: the name of each, whether the
// block needs it and what its value does to the object being read, in the
// order the editor writes them; beside them the block's tag and colon
// rule, the nested blocks it reads itself, what the end of the input and
// unknown start tags mean to it, and what leaves it unusable. readByRules
// applies them:
//
//  - a key field is used only when its colon is not its first byte and,
//    under the strict colon rule, not its last (the lax rule reads "X:" as
//    the empty text, or 0); a key the block does not know is ignored, a key
//    given twice takes its last value;
//  - a nested block named in the rules goes to its reader; any other start
//    tag is skipped up to the first field equal to its end tag (nested
//    blocks inside are not tracked), or, where the rules say so, ignored
//    like a field without a key;
//  - the block's own end tag ends it, successfully when every required key
//    was seen and nothing leaves the block unusable; any other end tag, or
//    the end of the input, fails it (a block whose rules say so ends at the
//    end of the input, and the block around it fails there instead).
//
// A failure is recorded in the reader (RecordReader::fail) with the block,
// the key or tag and the line, and returned as false. Rules and readers
// hold no state of their own: any number of blocks may be read with one
// set of rules, on any thread that owns its reader.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>

#include "schfile/block_tag.h"
#include "schfile/number_text.h"
#include "schfile/read_problem.h"
#include "schfile/record_reader.h"

namespace vesk {

enum class ColonRule {
  kStrict,  // "X:" (an empty value) is ignored like a field without a colon
  kLax,     // "X:" reads as the empty text, number 0
};

template <class Target>
struct BlockKey {
  std::string_view name;
  bool required = false;
  // What the value does to the object being read; false when the block
  // cannot take this value, which fails the block.
  bool (*take)(Target& target, std::string_view value) = nullptr;
};

template <class Target>
struct NestedBlock {
  BlockTag tag = {};
  // Reads the block whose start tag was just read, up to and including
  // its end tag; false fails the enclosing block (the reader holds why).
  bool (*read)(Target& target, RecordReader& reader) = nullptr;
};

// What leaves a block unusable although its required keys were all seen:
// a key whose value the object cannot keep (kBadValue and the key), or a
// nested block it lacks (kMissingBlock and that block's start tag). Kind
// kNone when nothing does.
struct BlockFault {
  ReadProblem::Kind kind = ReadProblem::Kind::kNone;
  std::string_view what;  // the key, or the start tag of the missing block
};

template <class Target>
struct BlockRules {
  BlockTag tag = {};  // none where block kinds share the rules (the lines)
  ColonRule colonRule = ColonRule::kStrict;
  std::span<const BlockKey<Target>> keys = {};  // in the order the editor writes them
  std::span<const NestedBlock<Target>> nested = {};  // the blocks it reads itself
  // Whether the end of the input ends the block (true) or fails it.
  bool endsAtEndOfInput = false;
  // Whether an unknown start tag is skipped with its block (true) or
  // ignored as one more field (false).
  bool skipsUnknownBlocks = true;
  // Asked at the own end tag once the required keys were all seen.
  BlockFault (*unusable)(const Target& target) = nullptr;
};

// The names of the keys of `Rules`, in the table's order, which the
// block's writer keeps too.
template <const auto& Rules>
inline constexpr auto kKeyNames = [] {
  std::array<std::string_view, Rules.keys.size()> names;
  for (std::size_t k = 0; k < names.size(); ++k) names[k] = Rules.keys[k].name;
  return names;
}();

// Skips the block opened by `startTag` (just read) up to and including the
// first field equal to its end tag. False, with the problem recorded, when
// the input ends first.
bool skipBlock(RecordReader& reader, std::string_view startTag);

// Records the failure of block `name`, begun on `blockLine`, on the field
// just read (or at the end of the input) and returns false.
bool failBlock(RecordReader& reader, ReadProblem::Kind kind, std::string_view name,
               int blockLine, std::string_view key = {}, std::string_view found = {});

// Calls `f` with `i` as the compile-time constant it stands for among
// 0 ... N - 1 (a std::integral_constant) and returns its result; false
// when `i` is N or more.
template <std::size_t N, class F>
bool withConstantIndex(std::size_t i, F&& f) {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return ((i == I && f(std::integral_constant<std::size_t, I>())) || ...);
  }(std::make_index_sequence<N>());
}

// Reads a block of `Rules` into `target`, its start tag just read. `name`
// stands for the rules' own where one set of rules serves several blocks
// (the lines). The rules are a template argument, so that each table gets
// code of its own.
template <const auto& Rules, class Target>
bool readByRules(RecordReader& reader, Target& target, std::string_view name = Rules.tag.name()) {
  using Kind = ReadProblem::Kind;
  constexpr std::size_t kKeys = Rules.keys.size();
  static_assert(kKeys <= 64, "one bit per key of a block");
  // Key k is compared and taken with its name and function as constants
  // rather than read from the table at run time: a fifth fewer
  // instructions over the 100 MB benchmark file.
  const auto readKeyField = [&reader](std::size_t k, std::string_view& value) {
    return withConstantIndex<kKeys>(k, [&](auto i) {
             return reader.nextFieldHasKey(Rules.keys[i].name);
           }) && reader.readKeyValue(Rules.keys[k].name.size(), value);
  };
  const auto take = [&target](std::size_t k, std::string_view value) {
    return withConstantIndex<kKeys>(k, [&](auto i) {
      constexpr auto takeKey = Rules.keys[i].take;
      return takeKey(target, value);
    });
  };
  const int blockLine = reader.lastFieldLine();
  std::uint64_t seen = 0;
  // The key the editor writes next is tried first, straight in the
  // reader's buffer; only fields written otherwise are read whole and
  // looked up.
  std::size_t expected = 0;
  for (;;) {
    std::size_t k = expected;
    std::string_view value;
    if (!readKeyField(k, value)) {
      std::string_view field;
      if (reader.readFieldView(field) == -1) {
        if (reader.escapeCutShort()) return failBlock(reader, Kind::kEscapeCutShort, name, blockLine);
        if (Rules.endsAtEndOfInput) return true;
        return failBlock(reader, Kind::kEndOfInput, name, blockLine);
      }
      if (field.empty()) continue;
      if (field[0] == '-') {
        if (field.substr(1) != name) {
          return failBlock(reader, Kind::kWrongEndTag, name, blockLine, {}, field);
        }
        for (std::size_t r = 0; r < kKeys; ++r) {
          if (Rules.keys[r].required && (seen >> r & 1) == 0) {
            return failBlock(reader, Kind::kMissingKey, name, blockLine, Rules.keys[r].name);
          }
        }
        if constexpr (Rules.unusable != nullptr) {
          if (const BlockFault fault = Rules.unusable(target); fault.kind != Kind::kNone) {
            return failBlock(reader, fault.kind, name, blockLine, fault.what);
          }
        }
        return true;
      }
      if (field[0] == '+') {
        const auto nested = std::ranges::find_if(
            Rules.nested, [field](const NestedBlock<Target>& n) { return n.tag.start() == field; });
        if (nested != Rules.nested.end()) {
          if (!nested->read(target, reader)) return false;
        } else if (Rules.skipsUnknownBlocks && !skipBlock(reader, field)) {
          return false;
        }
        continue;
      }
      const std::size_t colon = field.find(':');
      if (colon == 0 || colon == std::string_view::npos) continue;
      value = field.substr(colon + 1);
      const std::string_view key = field.substr(0, colon);
      const auto known = std::ranges::find(Rules.keys, key, &BlockKey<Target>::name);
      if (known == Rules.keys.end()) continue;
      k = static_cast<std::size_t>(known - Rules.keys.begin());
    }
    if (Rules.colonRule == ColonRule::kStrict && value.empty()) continue;
    if (!take(k, value)) {
      return failBlock(reader, Kind::kBadValue, name, blockLine, Rules.keys[k].name, value);
    }
    seen |= std::uint64_t{1} << k;
    // A key that may repeat (a pin's numbers) stands last in its table:
    // after it, the same key is expected again.
    expected = k + 1 < kKeys ? k + 1 : k;
  }
}

}  // namespace vesk
