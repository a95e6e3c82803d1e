// The blocks of a part definition: the part with its pins, and the
// pattern with its bitmap rows (their tags are in part_def.h). The tables
// below are the one statement of each block's keys
// (schfile/block_reader.h says how a table is read).
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "partlib/bitmap_rows.h"
#include "partlib/part_def.h"
#include "schfile/block_reader.h"
#include "schfile/record_writer.h"

namespace vesk {

namespace {

// "L" values are a side letter followed by the offset along that side:
// the letters of the sides 0 to 3.
constexpr std::string_view kSideLetters = "LTRB";

// The letters of the "T" key and their flag bits, in the writer's order
// (which differs from the bit order).
struct PinFlagLetter {
  char letter;
  int flag;
};
constexpr PinFlagLetter kPinFlagLetters[] = {
    {'S', kPinFlagS}, {'N', kPinFlagN}, {'C', kPinFlagC}, {'m', kPinFlagM}};

int flagsForLetters(std::string_view letters) {
  int flags = 0;
  for (const char c : letters) {
    for (const PinFlagLetter& known : kPinFlagLetters) {
      if (c == known.letter) flags |= known.flag;
    }
  }
  return flags;
}

std::string lettersForFlags(int flags) {
  std::string letters;
  for (const PinFlagLetter& known : kPinFlagLetters) {
    if (flags & known.flag) letters.push_back(known.letter);
  }
  return letters;
}

std::string encodePinName(std::string_view name) {
  std::string text;
  text.reserve(name.size());
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u & kPinNameMarkBit) {
      text.push_back(kPinNameMark);
      text.push_back(static_cast<char>(u & ~kPinNameMarkBit));
    } else {
      text.push_back(c);
    }
  }
  return text;
}

// --- Pins -----------------------------------------------------------------

// The name as the "N" key spells it: a backslash marks the byte after it
// (sets its bit 7); a lone trailing backslash is dropped; at most 255
// bytes are kept.
std::string decodePinName(std::string_view value) {
  std::string name;
  for (std::size_t i = 0; i < value.size() && name.size() < kMaxPinNameLength; ++i) {
    char c = value[i];
    if (c == kPinNameMark) {
      if (i + 1 == value.size()) break;
      c = static_cast<char>(static_cast<unsigned char>(value[++i]) | kPinNameMarkBit);
    }
    name.push_back(c);
  }
  return name;
}

// A pin is read into `pin`; with none (a part's details left out) its keys
// are only checked, and no key of a pin can fail.
struct PinReading {
  PartPin* pin;
};

constexpr BlockKey<PinReading> kPinKeys[] = {
    {.name = "N",
     .take = [](PinReading& r, std::string_view value) {
       if (r.pin != nullptr) r.pin->setName(decodePinName(value));
       return true;
     }},
    // The side letter, then the offset; an empty value changes neither, a
    // letter or offset out of range leaves its part as it was.
    {.name = "L",
     .take = [](PinReading& r, std::string_view value) {
       if (r.pin == nullptr || value.empty()) return true;
       const std::size_t side = kSideLetters.find(value[0]);
       if (side != std::string_view::npos) r.pin->setSide(static_cast<int>(side));
       const int offset = parseNumber(value.substr(1));
       if (offset >= 0 && offset <= kMaxPinOffset) r.pin->setOffset(offset);
       return true;
     }},
    {.name = "T",
     .take = [](PinReading& r, std::string_view value) {
       if (r.pin != nullptr) r.pin->setFlags(flagsForLetters(value));
       return true;
     }},
    // One number per block of the part, block 0 first; more are ignored.
    {.name = "M",
     .take = [](PinReading& r, std::string_view value) {
       if (r.pin != nullptr) r.pin->addNumber(value);
       return true;
     }},
};

// The end of the input ends a pin; the blocks around it fail there.
constexpr BlockRules<PinReading> kPinBlock{
    .tag = kPinTag, .colonRule = ColonRule::kLax, .keys = kPinKeys, .endsAtEndOfInput = true};

// Reads a pin of a part of `blockCount` blocks into `pin`, or checks it
// only when `pin` is null.
bool readPin(RecordReader& reader, PartPin* pin, int blockCount) {
  if (pin != nullptr) pin->clearTexts(blockCount);
  PinReading reading{pin};
  return readByRules<kPinBlock>(reader, reading);
}

// --- The part -------------------------------------------------------------

struct PartReading {
  std::string& name;
  std::string& patternName;
  PartDetails details;
  // Collected here, so that the definition gets them in one piece of the
  // right size (in a document's arena, where room left over is lost).
  std::vector<PartPin> pins = {};
  int width = 0;
  int height = 0;
  int blocks = 0;
  std::string prefix = "U";

  bool sizesRead() const { return width >= 1 && height >= 1 && blocks >= 1; }
};

constexpr BlockKey<PartReading> kPartKeys[] = {
    {.name = "N", .required = true,
     .take = [](PartReading& r, std::string_view value) {
       r.name.assign(value);
       return true;
     }},
    {.name = "X", .required = true,
     .take = [](PartReading& r, std::string_view value) {
       r.width = parseNumber(value);
       return r.width >= 0;
     }},
    {.name = "Y", .required = true,
     .take = [](PartReading& r, std::string_view value) {
       r.height = parseNumber(value);
       return r.height >= 0;
     }},
    // Once set to a block count, "B" cannot be set again.
    {.name = "B", .required = true,
     .take = [](PartReading& r, std::string_view value) {
       if (r.blocks != 0) return false;
       r.blocks = parseNumber(value);
       return r.blocks >= 0 && r.blocks <= kMaxBlockCount;
     }},
    {.name = "R",
     .take = [](PartReading& r, std::string_view value) {
       r.prefix.assign(value);
       return true;
     }},
    {.name = "P",
     .take = [](PartReading& r, std::string_view value) {
       r.patternName.assign(value);
       return true;
     }},
};

// A pin needs the block count, so the sizes come before the first pin.
constexpr NestedBlock<PartReading> kPartNested[] = {
    {.tag = kPinTag,
     .read = [](PartReading& r, RecordReader& reader) {
       if (!r.sizesRead()) {
         return failBlock(reader, ReadProblem::Kind::kMisplacedBlock, kPartTag.name(),
                          reader.lastFieldLine(), {}, kPinTag.start());
       }
       if (r.details == PartDetails::kLeftOut) return readPin(reader, nullptr, r.blocks);
       return readPin(reader, &r.pins.emplace_back(), r.blocks);
     }},
};

// Cut off at the end of the input, a part keeps what was read; the library
// section around it fails there, so such a part is never used. A part
// needs its name and a size and block count of at least 1.
constexpr BlockRules<PartReading> kPartBlock{
    .tag = kPartTag,
    .colonRule = ColonRule::kLax,
    .keys = kPartKeys,
    .nested = kPartNested,
    .endsAtEndOfInput = true,
    .unusable = [](const PartReading& r) {
      using enum ReadProblem::Kind;
      if (r.name.empty()) return BlockFault{kBadValue, "N"};
      if (r.width < 1) return BlockFault{kBadValue, "X"};
      if (r.height < 1) return BlockFault{kBadValue, "Y"};
      if (r.blocks < 1) return BlockFault{kBadValue, "B"};
      return BlockFault{};
    }};

// --- The pattern ----------------------------------------------------------

struct PatternReading {
  PartPattern& pattern;
  PartDetails details;
  bool named = false;
  bool bitmapRead = false;
  // Set when the bitmap is too large to hold: the pattern then fails after
  // its rows were skipped, so that the section around it stays in step and
  // can drop just the pattern.
  bool refused = false;
};

constexpr BlockKey<PatternReading> kPatternKeys[] = {
    {.name = "N",
     .take = [](PatternReading& r, std::string_view value) {
       r.pattern.setName(value);
       r.named = !value.empty();
       return true;
     }},
    {.name = "X",
     .take = [](PatternReading& r, std::string_view value) {
       r.pattern.setWidth(parseNumber(value));
       return true;
     }},
    {.name = "Y",
     .take = [](PatternReading& r, std::string_view value) {
       r.pattern.setHeight(parseNumber(value));
       return true;
     }},
};

// The bitmap is read once the size and the name are known; a second one,
// or one that comes too early, is skipped.
constexpr NestedBlock<PatternReading> kPatternNested[] = {
    {.tag = kBitmapTag,
     .read = [](PatternReading& r, RecordReader& reader) {
       const Point& size = r.pattern.size();
       const bool readable = size.x >= 1 && size.y >= 1 && r.named && !r.bitmapRead;
       const std::int64_t bytes = PartPattern::bitmapBytesFor(size.x, size.y);
       if (!readable || r.refused || bytes < 0) {
         r.refused = r.refused || (readable && bytes < 0);
         return skipBlock(reader, kBitmapTag.start());
       }
       std::optional<PartPattern::Bytes> data =
           readBitmapRows(reader, r.pattern, static_cast<std::size_t>(bytes), r.details);
       if (!data) return false;
       r.pattern.setData(std::move(*data));
       r.bitmapRead = true;
       return true;
     }},
};

// A pattern without its bitmap is of no use.
constexpr BlockRules<PatternReading> kPatternBlock{
    .tag = kPatternTag,
    .colonRule = ColonRule::kStrict,
    .keys = kPatternKeys,
    .nested = kPatternNested,
    .endsAtEndOfInput = true,
    .unusable = [](const PatternReading& r) {
      if (r.bitmapRead) return BlockFault{};
      return BlockFault{ReadProblem::Kind::kMissingBlock, kBitmapTag.start()};
    }};

}  // namespace

// ---------------------------------------------------------------------------
// Readers

bool readPartBlock(RecordReader& reader, PartDef& def, std::string& name,
                   std::string& patternName, PartDetails details) {
  def.clear();
  name.clear();
  patternName.clear();
  PartReading reading{name, patternName, details};
  if (!readByRules<kPartBlock>(reader, reading)) return false;
  def.setSize(Point(reading.width, reading.height));
  def.setBlockCount(reading.blocks);
  def.setReferencePrefix(reading.prefix);
  def.setPins(PartDef::Pins(std::make_move_iterator(reading.pins.begin()),
                            std::make_move_iterator(reading.pins.end()), def.memory()));
  return true;
}

bool readPinBlock(RecordReader& reader, PartPin& pin, int blockCount) {
  return readPin(reader, &pin, blockCount);
}

bool readPatternBlock(RecordReader& reader, PartPattern& pattern, PartDetails details) {
  pattern.releaseData();
  PatternReading reading{pattern, details};
  // At the end of the input the section around the pattern fails anyway;
  // a refused bitmap fails the pattern itself.
  return readByRules<kPatternBlock>(reader, reading) && !reading.refused;
}

std::span<const std::string_view> partBlockKeys() { return kKeyNames<kPartBlock>; }
std::span<const std::string_view> pinBlockKeys() { return kKeyNames<kPinBlock>; }
std::span<const std::string_view> patternBlockKeys() { return kKeyNames<kPatternBlock>; }

// ---------------------------------------------------------------------------
// Writers

bool writePartBlock(RecordWriter& writer, const PartDef& def,
                    std::optional<std::string_view> name) {
  if (!name || name->empty()) return false;
  const PartPattern* pattern = def.pattern();
  if (pattern != nullptr && !writePatternBlock(writer, *pattern, name)) return false;

  writer.writeField(kPartTag.start());
  writer.writeText("N", *name);
  writer.endLine();
  writer.writeInt("X", def.size().x);
  writer.writeInt("Y", def.size().y);
  writer.writeInt("B", def.blockCount());
  writer.endLine();
  writer.writeText("R", def.referencePrefix().value_or(std::string_view()));
  writer.endLine();
  if (pattern != nullptr) {
    writer.writeText("P", *name);
    writer.endLine();
  }
  for (const PartPin& pin : def.pins()) {
    writePinBlock(writer, pin);
    writer.endLine();
  }
  writer.writeField(kPartTag.end());
  writer.endLine();
  return true;
}

bool writePinBlock(RecordWriter& writer, const PartPin& pin) {
  writer.writeField(kPinTag.start());
  writer.writeText("N", encodePinName(pin.name().value_or(std::string_view())));
  const auto side = static_cast<std::size_t>(std::min(pin.side(), kSideBottom));
  writer.writeText("L", kSideLetters[side] + std::to_string(pin.offset()));
  writer.writeText("T", lettersForFlags(pin.flags()));
  // A number that was never read is written empty; it reads back as an
  // empty number in the same block, so later blocks keep their places.
  for (int block = 0; block < pin.blockCount(); ++block) {
    writer.writeText("M", pin.number(block).value_or(std::string_view()));
  }
  writer.writeField(kPinTag.end());
  return true;
}

bool writePatternBlock(RecordWriter& writer, const PartPattern& pattern,
                       std::optional<std::string_view> name) {
  const std::optional<std::string_view> written = name ? name : pattern.name();
  writer.writeField(kPatternTag.start());
  writer.writeText("N", written.value_or(std::string_view()));
  writer.writeInt("X", pattern.size().x);
  writer.writeInt("Y", pattern.size().y);
  writer.endLine();
  writer.writeField(kBitmapTag.start());
  writer.endLine();

  const PartPattern::Bytes& data = pattern.data();
  const std::int64_t stride = PartPattern::strideFor(pattern.size().x);
  const std::int64_t bytesPerRow = (static_cast<std::int64_t>(pattern.size().x) + 7) / 8;
  const auto dataSize = static_cast<std::int64_t>(data.size());
  std::string text;
  for (std::int64_t row = 0; row < pattern.size().y; ++row) {
    text.clear();
    const std::int64_t rowStart = row * stride;
    const std::int64_t bytes = std::clamp<std::int64_t>(dataSize - rowStart, 0, bytesPerRow);
    appendBitmapRow(text, data.data() + std::min(rowStart, dataSize), static_cast<std::size_t>(bytes));
    writer.writeField(text);
    writer.endLine();
  }
  writer.writeField(kBitmapTag.end());
  writer.endLine();
  writer.writeField(kPatternTag.end());
  writer.endLine();
  return true;
}

}  // namespace vesk
