// Reading one block of the schematic format after its start tag, by the
// rules of its kind.
//
// A block is a run of fields up to its end tag, "-" and the block's name:
// key fields ("key:value", split at the first colon), nested blocks
// ("+TAG" ... "-TAG") and fields without a usable key. The BlockRules of
// a block kind are the one statement of its keys: the name of each,
// whether the block needs it and what its value does to the object being
// read, in the order the editor writes them; beside them the block's
// colon rule, the nested blocks it reads itself, and what the end of the
// input and unknown start tags mean to it. readBlock applies them:
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
//    was seen and the block is complete; any other end tag, or the end of
//    the input, fails it (a block whose rules say so ends at the end of
//    the input, and the block around it fails there instead).
//
// The keys are looked for in the editor's order first: after key k the
// next field is nearly always key k + 1, which is tried first, compared as
// a constant straight in the reader's buffer; only a block written
// otherwise pays for reading the field on its own and a search of its
// table.
//
// A failure is recorded in the reader (RecordReader::fail) with the block,
// the key or tag and the line, and returned as false. Rules and readers
// hold no state of their own: any number of blocks may be read with one
// set of rules, on any thread that owns its reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "schfile/number_text.h"
#include "schfile/read_problem.h"
#include "schfile/record_reader.h"

namespace vesk {

enum class ColonRule {
  kStrict,  // "X:" (an empty value) is ignored like a field without a colon
  kLax,     // "X:" reads as the empty text, number 0
};

inline constexpr bool kRequired = true;
inline constexpr bool kOptional = false;

template <class Target>
struct BlockKey {
  std::string_view name;
  bool required;
  // What the value does to the object being read; false when the block
  // cannot take this value, which fails the block.
  bool (*take)(Target& target, std::string_view value);
};

template <class Target>
struct NestedBlock {
  std::string_view startTag;
  // Reads the block whose start tag was just read, up to and including
  // its end tag; false fails the enclosing block (the reader holds why).
  bool (*read)(Target& target, RecordReader& reader);
};

template <class Target>
struct BlockRules {
  std::string_view name;  // the end tag is "-" and the name
  ColonRule colonRule;
  std::span<const BlockKey<Target>> keys;  // in the order the editor writes them
  std::span<const NestedBlock<Target>> nested = {};
  // Whether the end of the input ends the block (true) or fails it.
  bool endsAtEndOfInput = false;
  // Whether an unknown start tag is skipped with its block (true) or
  // ignored as one more field (false).
  bool skipsUnknownBlocks = true;
  // Asked at the own end tag once the required keys were all seen: what
  // leaves the object unusable, or an empty view. A key whose value the
  // object cannot keep ("X"), or a nested block it lacks ("+BMP").
  std::string_view (*unusable)(const Target& target) = nullptr;
};

// Whether two short texts (keys, tags) are equal: a loop over a few bytes,
// where a library comparison of texts of any length would be a call.
inline bool sameShortText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Skips the block opened by `startTag` (just read) up to and including the
// first field equal to its end tag. False, with the problem recorded, when
// the input ends first.
bool skipBlock(RecordReader& reader, std::string_view startTag);

// Records the failure of block `name`, begun on `blockLine`, on the field
// just read (or at the end of the input) and returns false.
bool failBlock(RecordReader& reader, ReadProblem::Kind kind, std::string_view name,
               int blockLine, std::string_view key = {}, std::string_view found = {});

namespace block_detail {

// Whether `key` is the key `name`. With the name known to the compiler (it
// comes from a table of constants), this is a few instructions, inline.
inline bool isKey(std::string_view key, std::string_view name) {
  return key.size() == name.size() && std::memcmp(key.data(), name.data(), name.size()) == 0;
}

// The index of `key` in the rules' table, or the table's size when the
// table lacks it.
template <const auto& Rules, std::size_t... I>
std::size_t keyIndex([[maybe_unused]] std::string_view key, std::index_sequence<I...>) {
  std::size_t found = sizeof...(I);
  static_cast<void>(((isKey(key, Rules.keys[I].name) && ((found = I), true)) || ...));
  return found;
}

// Reads the next field when it is key `expected` of the table, written
// plainly (RecordReader::readKeyField): the key compared as the constant
// it is, straight in the reader's buffer.
template <const auto& Rules, std::size_t... I>
bool readExpectedKey([[maybe_unused]] RecordReader& reader, [[maybe_unused]] std::size_t expected,
                     [[maybe_unused]] std::string_view& value, std::index_sequence<I...>) {
  return ((I == expected && reader.readKeyField(Rules.keys[I].name, value)) || ...);
}

template <const auto& Rules, std::size_t I, class Target>
bool takeValue(Target& target, std::string_view value) {
  constexpr auto take = Rules.keys[I].take;
  return take(target, value);
}

// Gives `value` to key `k` of the table: a direct call of its function,
// which the compiler can inline.
template <const auto& Rules, class Target, std::size_t... I>
bool takeKey([[maybe_unused]] std::size_t k, [[maybe_unused]] Target& target,
             [[maybe_unused]] std::string_view value, std::index_sequence<I...>) {
  bool taken = false;
  static_cast<void>(((k == I && ((taken = takeValue<Rules, I>(target, value)), true)) || ...));
  return taken;
}

}  // namespace block_detail

// Reads a block of `Rules` into `target`, its start tag just read. `name`
// stands for the rules' name where one set of rules serves several blocks
// (the line objects).
//
// The rules are a template argument, so that the code is compiled for each
// table with its keys and functions known: a key is compared as the
// constant it is and its function called directly, where a loop over a
// table in memory would compare texts of any length and call through a
// pointer for every field of every block.
template <const auto& Rules, class Target>
bool readBlock(RecordReader& reader, Target& target, std::string_view name = Rules.name) {
  using Kind = ReadProblem::Kind;
  constexpr std::size_t kKeys = Rules.keys.size();
  static_assert(kKeys <= 64, "one bit per key of a block");
  constexpr auto kIndices = std::make_index_sequence<kKeys>();
  const int blockLine = reader.lastFieldLine();
  std::uint64_t seen = 0;
  std::size_t expected = 0;
  for (;;) {
    std::string_view key;
    std::string_view value;
    std::size_t k = expected;
    if (block_detail::readExpectedKey<Rules>(reader, expected, value, kIndices)) {
      key = Rules.keys[k].name;
    } else {
      std::string_view field;
      if (reader.readFieldView(field) == -1) {
        if (reader.escapeCutShort()) return failBlock(reader, Kind::kEscapeCutShort, name, blockLine);
        if (Rules.endsAtEndOfInput) return true;
        return failBlock(reader, Kind::kEndOfInput, name, blockLine);
      }
      if (field.empty()) continue;
      const char first = field[0];
      if (first == '-') {
        if (!sameShortText(field.substr(1), name)) {
          return failBlock(reader, Kind::kWrongEndTag, name, blockLine, {}, field);
        }
        for (std::size_t r = 0; r < kKeys; ++r) {
          if (Rules.keys[r].required && (seen >> r & 1) == 0) {
            return failBlock(reader, Kind::kMissingKey, name, blockLine, Rules.keys[r].name);
          }
        }
        if constexpr (Rules.unusable != nullptr) {
          if (const std::string_view what = Rules.unusable(target); !what.empty()) {
            return failBlock(reader, what[0] == '+' ? Kind::kMissingBlock : Kind::kBadValue, name,
                             blockLine, what);
          }
        }
        return true;
      }
      if (first == '+') {
        const auto* nested = Rules.nested.data();
        const auto* const nestedEnd = nested + Rules.nested.size();
        while (nested != nestedEnd && !sameShortText(nested->startTag, field)) ++nested;
        if (nested != nestedEnd) {
          if (!nested->read(target, reader)) return false;
        } else if (Rules.skipsUnknownBlocks && !skipBlock(reader, field)) {
          return false;
        }
        continue;
      }
      // Keys are a few bytes long: a plain loop finds the colon sooner than
      // a library search would be called.
      std::size_t colon = 1;
      while (colon < field.size() && field[colon] != ':') ++colon;
      if (first == ':' || colon == field.size()) continue;
      key = field.substr(0, colon);
      value = field.substr(colon + 1);
      k = block_detail::keyIndex<Rules>(key, kIndices);
      if (k == kKeys) continue;
    }
    if (Rules.colonRule == ColonRule::kStrict && value.empty()) continue;
    if (!block_detail::takeKey<Rules>(k, target, value, kIndices)) {
      return failBlock(reader, Kind::kBadValue, name, blockLine, key, value);
    }
    seen |= std::uint64_t{1} << k;
    // A key that may repeat (a pin's numbers) stands last in its table:
    // after it, the same key is expected again.
    expected = k + 1 < kKeys ? k + 1 : k;
  }
}

}  // namespace vesk
