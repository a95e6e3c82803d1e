// BlockFields: the one procedure by which every block of the schematic
// format is read after its start tag.
//
// A block is a sequence of key fields ("key:value"), nested blocks and one
// end tag. BlockFields pulls fields from the shared RecordReader and hands
// the caller one usable key field at a time; it ignores fields without a
// usable key (no colon, or the colon first), applies the block's colon rule
// to empty values, skips nested blocks that the caller does not claim, and
// stops at the first end tag or at the end of the input. How the block
// ended is then told by end().
//
//   BlockFields block(reader, "-JUNCTION", ColonRule::kStrict);
//   while (block.next() == BlockFields::kKey) {
//     if (block.key() == "X") { ... block.number() ... }
//   }
//   return block.end() == BlockFields::kOwnEndTag && seenX && seenY;
//
// The views returned by key(), value() and tag() look into the reader's
// current field: they stay valid until the next call of next() or of any
// reading operation of the reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "schfile/record_reader.h"

namespace vesk {

enum class ColonRule {
  kStrict,  // "X:" (empty value) is ignored like a field without a colon
  kLax,     // "X:" reads as the empty text, number 0
};

class BlockFields {
 public:
  enum Item {
    kKey,     // a usable key field: key(), value(), number()
    kNested,  // a nested start tag (only when claimNested is set): tag()
    kEnded,   // the block is over; see end()
  };
  enum End {
    kNotEnded,
    kOwnEndTag,    // the block's own end tag
    kOtherEndTag,  // another field beginning with '-': tag() holds it
    kEndOfInput,   // the input ended inside the block
    kSkipFailed,   // a nested block ran to the end of input
  };

  BlockFields(RecordReader& reader, std::string_view endTag, ColonRule rule)
      : reader_(reader), endTag_(endTag), rule_(rule) {}

  // When set, nested start tags are returned as kNested instead of being
  // skipped; the caller then reads the nested block itself or calls
  // skipNested().
  void claimNested(bool claim) { claimNested_ = claim; }

  Item next() {
    // Inline: every key field of every block passes here.
    if (end_ != kNotEnded) return kEnded;
    for (;;) {
      if (reader_.readFieldView(field_) == -1) {
        end_ = kEndOfInput;
        return kEnded;
      }
      const std::size_t size = field_.size();
      if (size == 0) continue;  // an empty field has no key
      const char first = field_[0];
      if (first == '-' || first == '+') {
        if (const Item item = nextAtTag(); item != kKey) return item;
        continue;
      }
      // Keys are a few bytes long: a plain loop finds the colon sooner than
      // a library search would be called.
      std::size_t colon = 1;
      while (colon < size && field_[colon] != ':') ++colon;
      if (first == ':' || colon == size) continue;
      if (rule_ == ColonRule::kStrict && colon + 1 == size) continue;
      key_ = std::string_view(field_.data(), colon);
      value_ = std::string_view(field_.data() + colon + 1, size - colon - 1);
      return kKey;
    }
  }

  // Skips the nested block whose start tag next() just returned. False
  // (and end() == kSkipFailed) when its end tag never comes.
  bool skipNested();

  std::string_view key() const { return key_; }
  std::string_view value() const { return value_; }
  int number() const;
  std::string_view tag() const { return field_; }
  End end() const { return end_; }
  bool endedCleanly() const { return end_ == kOwnEndTag; }
  RecordReader& reader() { return reader_; }

 private:
  // The field begins with '-' or '+': the end of the block (kEnded), a
  // nested block for the caller (kNested), or one skipped (kKey: read on).
  Item nextAtTag();

  RecordReader& reader_;
  std::string_view endTag_;
  ColonRule rule_;
  bool claimNested_ = false;
  End end_ = kNotEnded;
  std::string_view field_;
  std::string_view key_;
  std::string_view value_;
};

// The end tag of a block: "-" and the block's name. It is made on the
// stack for the names of real blocks (the heap serves longer ones), and it
// may be made from a view of the reader's own field, which reading on
// overwrites.
class EndTag {
 public:
  explicit EndTag(std::string_view name);
  EndTag(const EndTag&) = delete;
  EndTag& operator=(const EndTag&) = delete;

  std::string_view view() const { return view_; }

 private:
  static constexpr std::size_t kShortTag = 64;
  char shortTag_[kShortTag];
  std::string longTag_;
  std::string_view view_;
};

// Skips the block opened by `startTag` (its first byte '+' is taken as '-'
// to form the end tag), up to and including that end tag. Nested blocks are
// not tracked. False when the input ends first.
bool skipBlock(RecordReader& reader, std::string_view startTag);

}  // namespace vesk
