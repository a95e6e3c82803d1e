// ReadProblem: why a schematic file could not be read, as data.
//
// The readers keep their plain results (a block reader's bool, the
// document's 0, 1 or 2); the first thing that fails a file is recorded
// here beside them, with the line it stands on, so that whoever shows it
// (the command line in English, the dialog in Japanese) can tell the user
// which block, key or tag is at fault. Nothing is recorded while a file
// reads well: filling the record is the failure path's work alone.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

struct ReadProblem {
  enum class Kind {
    kNone,
    kCannotOpen,       // the file cannot be opened: `systemError` holds errno
    kReadError,        // the system failed while reading: `systemError`
    kNotSchematic,     // the first field (`found`) is not the file's magic
    kMissingKey,       // block `block` ended without its required key `key`
    kMissingBlock,     // block `block` ended without a block it needs (`key`: its start tag)
    kBadValue,         // block `block` cannot take `found` as the value of `key`
    kWrongEndTag,      // `found` ended block `block`, whose end tag is "-" + block
    kEndOfInput,       // the input ended inside block `block`
    kEscapeCutShort,   // a "%XX" escape was cut short by a field's end
    kStrayField,       // `found` stands at top level: no start tag, not the end
    kUnclosedBlock,    // the end tag of block `block` never comes
    kMisplacedBlock,   // block `block` cannot hold block `found` where it stands
  };

  Kind kind = Kind::kNone;
  int line = 0;         // the line the problem stands on; 0 where none applies
  int blockLine = 0;    // the line on which `block` began
  std::string block;    // a block's name, without '+' or '-' (BlockTag::name)
  std::string key;      // a key of that block
  std::string found;    // the field as found, cut short (kLongestFound bytes)
  int systemError = 0;  // errno of kCannotOpen and kReadError

  // Fields quoted in a problem are cut to this many bytes.
  static constexpr std::size_t kLongestFound = 40;

  bool failed() const { return kind != Kind::kNone; }
  static std::string cut(std::string_view field) {
    return std::string(field.substr(0, kLongestFound));
  }
};

}  // namespace vesk
