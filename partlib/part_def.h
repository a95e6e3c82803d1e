// PartDef, PartPin, PartPattern: the definition of a library part.
//
// A part has a body of size.x by size.y grid units (a placed component
// multiplies them by 10), a number of blocks (a multi-block part such as a
// quad gate shows one block per placed component, and every pin carries
// one number per block), a reference prefix ("U", "R", ...), its pins and,
// optionally, a monochrome bitmap of its body.
//
// In a schematic file the part is a block (kPartTag) with one pin block
// (kPinTag) per pin, and the bitmap a pattern block (kPatternTag) holding
// a block of rows (kBitmapTag). The free functions below read and write
// those blocks.
//
// Ownership: a PartDef owns its reference prefix, its pattern and its pins;
// a pin owns its texts; a pattern owns its name and bitmap bytes. Copies
// are deep: nothing is ever shared between two definitions. The pins and
// the bitmap take their memory from the resource the definition was made
// with (a document's arena while it is read into one, the C++ heap
// otherwise); a copy takes it from the C++ heap, so that it outlives the
// document of the original.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "schfile/block_tag.h"

namespace vesk {

class RecordReader;
class RecordWriter;

// The blocks of a part definition: the part with its pins, the pattern
// with its bitmap.
inline constexpr BlockTag kPartTag{"COMP"};
inline constexpr BlockTag kPinTag{"PIN"};
inline constexpr BlockTag kPatternTag{"PTN"};
inline constexpr BlockTag kBitmapTag{"BMP"};

// Pin flag bits, as the letters of the "T" key give them.
constexpr int kPinFlagS = 1;
constexpr int kPinFlagC = 4;
constexpr int kPinFlagN = 8;
constexpr int kPinFlagM = 16;

// Body sides of a pin, as the first letter of the "L" key gives them.
constexpr int kSideLeft = 0;
constexpr int kSideTop = 1;
constexpr int kSideRight = 2;
constexpr int kSideBottom = 3;

// Limits of a part definition.
constexpr int kMaxBlockCount = 256;
constexpr int kMaxPinOffset = 255;
constexpr std::size_t kMaxPinNameLength = 255;
// Pin names mark characters by setting bit 7; the "N" key spells such a
// byte as a backslash followed by the byte without that bit.
constexpr char kPinNameMark = '\\';
constexpr unsigned char kPinNameMarkBit = 0x80;
// The reader decodes at most this many columns and rows of a bitmap.
constexpr int kMaxDecodedBitmapSide = 501;
// A bitmap larger than this is refused: a real part drawing is a few
// hundred bytes, and a hostile width or height must not allocate gigabytes.
constexpr std::int64_t kMaxBitmapBytes = 16 * 1024 * 1024;

// One pin. Its name may hold marked characters: a byte with bit 7 set
// (written in the file as a backslash before the character).
//
// A part carries a pin per connection, and a design hundreds of thousands
// of parts, so a pin keeps its texts packed in one string: the name, then
// the number of each block in order, each as its length plus one (0 for
// none) in groups of seven bits, low group first, bit 7 set while more
// groups follow, and then its bytes. The texts of most pins fit in the
// string's own room, and a pin takes 40 bytes (a 100 MB design kept whole
// needs 119 MiB so, 172 MiB with a string per text).
class PartPin {
 public:
  // The number of each block in order, block 0 first.
  using Numbers = std::vector<std::optional<std::string_view>>;

  int blockCount() const { return blockCount_; }
  std::optional<std::string_view> name() const;
  // The number of `block`; none when it was never read or lies outside
  // 0 ... blockCount() - 1.
  std::optional<std::string_view> number(int block) const;
  // All numbers, viewing the pin's own texts.
  Numbers numbers() const;
  int flags() const { return flags_; }
  int side() const { return side_; }
  int offset() const { return offset_; }

  // Starts the texts anew: no name, and `blockCount` numbers (0 to 256),
  // all none.
  void clearTexts(int blockCount);
  void setName(std::optional<std::string_view> name);
  // Numbers the first block without a number; ignored once every block
  // has one.
  void addNumber(std::string_view number);
  // Flags 0 to 31 (letters S, C, N, m), side 0 to 3, offset 0 to 255.
  void setFlags(int flags) { flags_ = static_cast<std::uint8_t>(flags); }
  void setSide(int side) { side_ = static_cast<std::uint8_t>(side); }
  void setOffset(int offset) { offset_ = static_cast<std::uint8_t>(offset); }

 private:
  std::string texts_;  // empty: no name and no numbers
  std::uint16_t blockCount_ = 0;
  std::uint16_t numberCount_ = 0;  // the numbers' entries in texts_
  std::uint8_t flags_ = 0;
  std::uint8_t side_ = 0;
  std::uint8_t offset_ = 0;
};

// A text that may be none, as the parts keep them: none for none, else
// a copy of the bytes.
inline void keepText(std::optional<std::string>& kept, std::optional<std::string_view> text) {
  if (text) {
    kept.emplace(*text);
  } else {
    kept.reset();
  }
}

// The bitmap of a part's body: size.y rows of stride bytes each, stride
// being ((size.x + 15) / 16) * 2 (whole 16-bit words); of each row only the
// first (size.x + 7) / 8 bytes carry pixels.
class PartPattern {
 public:
  using Bytes = std::pmr::vector<unsigned char>;

  PartPattern() = default;
  explicit PartPattern(std::pmr::memory_resource* memory) : data_(memory) {}
  PartPattern(const PartPattern&) = default;
  PartPattern& operator=(const PartPattern&) = default;
  PartPattern(PartPattern&&) = default;
  PartPattern& operator=(PartPattern&&) = default;
  virtual ~PartPattern();

  std::optional<std::string_view> name() const { return name_; }
  const Point& size() const { return size_; }
  int dataSize() const { return static_cast<int>(data_.size()); }
  bool hasData() const { return !data_.empty(); }
  const Bytes& data() const { return data_; }

  void setName(std::optional<std::string_view> name) { keepText(name_, name); }
  void setSize(const Point& size) { size_ = size; }
  void setWidth(int width) { size_.x = width; }
  void setHeight(int height) { size_.y = height; }
  void setData(Bytes data) { data_ = std::move(data); }
  void releaseData() { data_.clear(); data_.shrink_to_fit(); }
  // Where the bitmap takes its memory from.
  std::pmr::memory_resource* memory() const { return data_.get_allocator().resource(); }

  // Bytes per row for a width (at least 0); computed without overflow.
  static std::int64_t strideFor(int width);
  // Bytes of a whole bitmap of the given size, or -1 when it would exceed
  // kMaxBitmapBytes (or is not positive in either direction).
  static std::int64_t bitmapBytesFor(int width, int height);

 private:
  std::optional<std::string> name_;
  Point size_;
  Bytes data_;
};

class PartDef {
 public:
  using Pins = std::pmr::vector<PartPin>;

  PartDef() = default;
  explicit PartDef(std::pmr::memory_resource* memory) : pins_(memory) {}

  std::optional<std::string_view> referencePrefix() const { return referencePrefix_; }
  const Point& size() const { return size_; }
  int blockCount() const { return blockCount_; }
  const PartPattern* pattern() const { return pattern_ ? &*pattern_ : nullptr; }
  int pinCount() const { return static_cast<int>(pins_.size()); }
  // The pin at `index`, or null outside 0 ... pinCount() - 1.
  const PartPin* pin(int index) const;
  const Pins& pins() const { return pins_; }

  void setReferencePrefix(std::optional<std::string_view> prefix) {
    keepText(referencePrefix_, prefix);
  }
  void setSize(const Point& size) { size_ = size; }
  void setBlockCount(int count) { blockCount_ = count; }
  void setPattern(std::unique_ptr<PartPattern> pattern) {
    if (pattern) {
      pattern_ = std::move(*pattern);
    } else {
      pattern_.reset();
    }
  }
  void setPattern(PartPattern pattern) { pattern_ = std::move(pattern); }
  void setPins(Pins pins) { pins_ = std::move(pins); }
  // Where the pins (and a pattern read into this definition) take their
  // memory from.
  std::pmr::memory_resource* memory() const { return pins_.get_allocator().resource(); }

  // Releases the reference prefix, the pattern and the pins; size and
  // block count stay.
  void clear();

 private:
  std::optional<std::string> referencePrefix_;
  Point size_;
  int blockCount_ = 1;
  std::optional<PartPattern> pattern_;  // in place, like the pins
  Pins pins_;
};

// Readers: each is called right after its start tag was consumed and reads
// up to and including the end tag. They return false on a malformed block
// and print nothing.

// What a reader keeps of a part. A parts list needs neither the pins nor
// the bitmap, which are most of a design's bytes: left out, they are read
// and checked as strictly (a block fails or succeeds alike, with the same
// problem), but the part gets no pins and its pattern no bitmap bytes.
enum class PartDetails { kKept, kLeftOut };

// The part block. `name` receives the "N" value, `patternName` the "P"
// value; both are empty when the block has none.
bool readPartBlock(RecordReader& reader, PartDef& def, std::string& name,
                   std::string& patternName, PartDetails details = PartDetails::kKept);
// A pin block, for a part of `blockCount` blocks.
bool readPinBlock(RecordReader& reader, PartPin& pin, int blockCount);
// The pattern block.
bool readPatternBlock(RecordReader& reader, PartPattern& pattern,
                      PartDetails details = PartDetails::kKept);
// The bitmap block of a pattern whose size is set; `dataSize` bytes are
// made (all rows of the full size, in the pattern's memory), of which at
// most 501 columns and rows are decoded. With the details left out,
// nothing is made or decoded and the bytes are empty. None when the block
// is malformed or cut off.
std::optional<PartPattern::Bytes> readBitmapRows(RecordReader& reader,
                                                 const PartPattern& pattern,
                                                 std::size_t dataSize,
                                                 PartDetails details = PartDetails::kKept);

// The keys of the part, pin and pattern blocks in their reading tables'
// order, which the writers keep too.
std::span<const std::string_view> partBlockKeys();
std::span<const std::string_view> pinBlockKeys();
std::span<const std::string_view> patternBlockKeys();

// Writers: the inverse of the readers.

// The pattern (if any) and the part block under `name`; false, writing
// nothing, when the name is none or empty.
bool writePartBlock(RecordWriter& writer, const PartDef& def,
                    std::optional<std::string_view> name);
// One pin block on the current line; the caller ends the line.
bool writePinBlock(RecordWriter& writer, const PartPin& pin);
// The pattern block with its rows, named `name`, or the pattern's own name
// when none is given.
bool writePatternBlock(RecordWriter& writer, const PartPattern& pattern,
                       std::optional<std::string_view> name);

}  // namespace vesk
