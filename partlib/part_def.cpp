#include "partlib/part_def.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "schfile/number_text.h"
#include "schfile/plain_fields.h"
#include "schfile/record_reader.h"
#include "schfile/record_writer.h"
#include "schfile/block_fields.h"

namespace vesk {

namespace {

constexpr std::string_view kPinTag = "+PIN";
constexpr std::string_view kBitmapTag = "+BMP";
constexpr std::string_view kBitmapEnd = "-BMP";

// A bitmap byte is written as two characters, high nibble first, each
// nibble v as the character 0x40 + v ("@" for 0 ... "O" for 15).
constexpr unsigned char kNibbleBase = 0x40;

// The byte a pair of row characters stands for; 0 when either character
// lies outside "@".."O". Plain arithmetic rather than a table: rows are
// the bulk of a file, and a table of every pair would not stay in cache.
inline bool isValidPair(unsigned char high, unsigned char low) {
  return (high & 0xf0) == kNibbleBase && (low & 0xf0) == kNibbleBase;
}

inline unsigned char pairByte(unsigned char high, unsigned char low) {
  return isValidPair(high, low) ? static_cast<unsigned char>(((high & 0x0f) << 4) | (low & 0x0f))
                                : 0;
}

// Pin names mark characters by setting bit 7; the file spells such a
// byte as a backslash followed by the byte without that bit.
constexpr char kMarkEscape = '\\';
constexpr unsigned char kMarkBit = 0x80;


std::string encodePinName(std::string_view name) {
  std::string text;
  text.reserve(name.size());
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u & kMarkBit) {
      text.push_back(kMarkEscape);
      text.push_back(static_cast<char>(u & 0x7f));
    } else {
      text.push_back(c);
    }
  }
  return text;
}

// "L" values are a side letter followed by the offset along that side.
int sideForLetter(char letter) {
  switch (letter) {
    case 'L': return kSideLeft;
    case 'T': return kSideTop;
    case 'R': return kSideRight;
    case 'B': return kSideBottom;
    default: return -1;
  }
}

char letterForSide(int side) {
  switch (side) {
    case kSideLeft: return 'L';
    case kSideTop: return 'T';
    case kSideRight: return 'R';
    default: return 'B';
  }
}

int flagsForLetters(std::string_view letters) {
  int flags = 0;
  for (const char c : letters) {
    switch (c) {
      case 'S': flags |= kPinFlagS; break;
      case 'C': flags |= kPinFlagC; break;
      case 'N': flags |= kPinFlagN; break;
      case 'm': flags |= kPinFlagM; break;
      default: break;
    }
  }
  return flags;
}

// The writer's letter order differs from the bit order: S, N, C, m.
std::string lettersForFlags(int flags) {
  std::string letters;
  if (flags & kPinFlagS) letters.push_back('S');
  if (flags & kPinFlagN) letters.push_back('N');
  if (flags & kPinFlagC) letters.push_back('C');
  if (flags & kPinFlagM) letters.push_back('m');
  return letters;
}

// pairByte for the pairs of one word of characters at once (character k
// standing in byte k of a little-endian word): four pairs of a 64-bit
// word, two of a 32-bit one. Nonzero when a character is not a bitmap
// character.
template <class Word>
inline Word decodePairWord(const unsigned char* in, unsigned char* out) {
  // A word with every byte `b`.
  constexpr auto everyByte = [](unsigned b) { return static_cast<Word>(~Word{0} / 0xff * b); };
  constexpr Word kEvenBytes = static_cast<Word>(~Word{0} / 0xffff * 0xff);
  Word chars;
  std::memcpy(&chars, in, sizeof chars);
  // A byte is nonzero for a character outside "@".."O".
  const Word wrong = (chars & everyByte(0xf0)) ^ everyByte(0x40);
  // The pair's byte, (first nibble << 4) | second nibble, in its first
  // byte.
  const Word nibbles = chars & everyByte(0x0f);
  Word value = ((nibbles << 4) | (nibbles >> 8)) & kEvenBytes;
  if (wrong != 0) {
    // A pair is bad when either of its two is, marked in the pair's first
    // byte; bad pairs give 0.
    const Word wrongPair = (wrong | (wrong >> 8)) & kEvenBytes;
    const Word nonzero =
        (((wrongPair & everyByte(0x7f)) + everyByte(0x7f)) | wrongPair) & everyByte(0x80);
    value &= ~((nonzero >> 7) * 0xff);
  }
  // Then the bytes next to each other.
  value |= value >> 8;
  if constexpr (sizeof(Word) == 8) {
    value &= 0x0000ffff0000ffffull;
    const auto bytes = static_cast<std::uint32_t>(value | (value >> 16));
    std::memcpy(out, &bytes, sizeof bytes);
  } else {
    const auto bytes = static_cast<std::uint16_t>(value);
    std::memcpy(out, &bytes, sizeof bytes);
  }
  return wrong;
}

// Decodes the first `pairs` pairs of a row text into `out`. A pair with a
// character outside "@".."O" gives 0 for that byte only. True when there
// was no such character.
inline bool decodePairs(const unsigned char* in, unsigned char* out, std::size_t pairs) {
  if constexpr (std::endian::native == std::endian::little) {
    // Rows are most of a file's bytes: eight characters (four bytes) at a
    // time, the last four of the row overlapping the ones before when the
    // row is not a multiple of four bytes long.
    if (pairs >= 4) {
      using Word = std::uint64_t;
      Word wrong = 0;
      for (std::size_t j = 0; j + 4 <= pairs; j += 4) {
        wrong |= decodePairWord<Word>(in + 2 * j, out + j);
      }
      if (pairs % 4 != 0) wrong |= decodePairWord<Word>(in + 2 * (pairs - 4), out + pairs - 4);
      return wrong == 0;
    }
    if (pairs >= 2) {
      std::uint32_t wrong = decodePairWord<std::uint32_t>(in, out);
      if (pairs == 3) wrong |= decodePairWord<std::uint32_t>(in + 2, out + 1);
      return wrong == 0;
    }
  }
  bool valid = true;
  for (std::size_t j = 0; j < pairs; ++j) {
    out[j] = pairByte(in[2 * j], in[2 * j + 1]);
    valid = valid && isValidPair(in[2 * j], in[2 * j + 1]);
  }
  return valid;
}

bool startsWith(std::string_view field, char c) { return !field.empty() && field[0] == c; }

// Takes the rows that follow in the reader's buffer as long as they are
// written as the editor writes them: two bitmap characters for each byte
// of the row and then a comma or line end. Their ends are then known
// without a search, and they are decoded where they stand. Stops at
// anything else (the end tag, a row of another length, a bad character,
// the end of the buffer, the last row), which the general loop then takes.
void readPlainBitmapRows(RecordReader& reader, std::size_t bytesPerRow, std::size_t stride,
                         int height, PartPattern::Bytes& bitmap, int& row,
                         std::size_t& rowStart) {
  const std::size_t rowChars = 2 * bytesPerRow;
  const unsigned char* const start = reader.bufferedBegin();
  const unsigned char* const end = reader.bufferedEnd();
  const unsigned char* p = start;
  std::uint64_t lineEnds = 0;
  // A field read before that ended at a CR leaves the LF after it, white
  // space that the reader would skip before the next field.
  if (p != end && *p == '\n') {
    ++p;
    ++lineEnds;
  }
  // The rows still to fill that lie wholly in the bitmap, and the room a
  // row needs in the buffer: the row, its terminator and an LF after a CR,
  // and the words read over the row's last characters.
  std::size_t rowsLeft = 0;
  if (row < height && rowStart + bytesPerRow <= bitmap.size()) {
    rowsLeft = std::min(static_cast<std::size_t>(height - row),
                        (bitmap.size() - rowStart - bytesPerRow) / stride + 1);
  }
  const std::size_t room = rowChars + 8;
  unsigned char* out = bitmap.data() + rowStart;
  std::size_t taken = 0;
  for (; taken < rowsLeft && static_cast<std::size_t>(end - p) >= room; ++taken) {
    const unsigned char* next = p + rowChars + 1;
    std::uint64_t endsLine = 1;
    if (const unsigned char terminator = next[-1]; terminator != '\n') {
      if (terminator == ',') {
        endsLine = 0;
      } else if (terminator == '\r') {
        // The LF after it is white space before the next field.
        if (*next == '\n') {
          ++next;
        } else {
          endsLine = 0;
        }
      } else {
        break;
      }
    }
    // A row that holds anything but bitmap characters (a terminator or an
    // escape among them, say) is the general loop's; the bytes decoded
    // from it are cleared again, as no row was there before.
    if (!decodePairs(p, out, bytesPerRow)) {
      std::memset(out, 0, bytesPerRow);
      break;
    }
    lineEnds += endsLine;
    p = next;
    out += stride;
  }
  row += static_cast<int>(taken);
  rowStart += taken * stride;
  reader.consumeBuffered(static_cast<std::size_t>(p - start), lineEnds);
}

}  // namespace

// ---------------------------------------------------------------------------
// Structures

namespace {

// The entries of a pin's texts: the length plus one (0 for none) in groups
// of seven bits, then the bytes.
constexpr std::size_t kLongestEntryCode = 10;  // seven bits a byte for 64 bits

// The length code of an entry for `text` (none when null), written into
// `code`; returns its size.
std::size_t writeEntryCode(const std::string_view* text, char (&code)[kLongestEntryCode]) {
  std::size_t value = text != nullptr ? text->size() + 1 : 0;
  std::size_t size = 0;
  while (value >= 0x80) {
    code[size++] = static_cast<char>((value & 0x7f) | 0x80);
    value >>= 7;
  }
  code[size++] = static_cast<char>(value);
  return size;
}

// Copies a text of at most 15 bytes with a few fixed-size moves, which
// compile to plain loads and stores, rather than a call of memcpy.
inline void copyShortText(unsigned char* to, std::string_view text) {
  const std::size_t n = text.size();
  const char* from = text.data();
  if (n >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n >= 2) {
    std::memcpy(to, from, 2);
    std::memcpy(to + n - 2, from + n - 2, 2);
  } else if (n == 1) {
    *to = static_cast<unsigned char>(*from);
  }
}

void appendEntry(std::string& packed, const std::string_view* text) {
  char code[kLongestEntryCode];
  packed.append(code, writeEntryCode(text, code));
  if (text != nullptr) packed.append(*text);
}

// Reads the entry at `at` and moves `at` past it.
std::optional<std::string_view> nextEntry(std::string_view packed, std::size_t& at) {
  std::size_t code = 0;
  int shift = 0;
  for (;;) {
    const auto byte = static_cast<unsigned char>(packed[at++]);
    code |= static_cast<std::size_t>(byte & 0x7f) << shift;
    if ((byte & 0x80) == 0) break;
    shift += 7;
  }
  if (code == 0) return std::nullopt;
  const std::string_view text = packed.substr(at, code - 1);
  at += code - 1;
  return text;
}

}  // namespace

void PartPin::TextsBuilder::setNameFromKey(std::string_view value) {
  hasName_ = true;
  name_.clear();
  if (value.find(kMarkEscape) == std::string_view::npos) {
    name_.assign(value.substr(0, kMaxPinNameLength));
    return;
  }
  for (std::size_t i = 0; i < value.size() && name_.size() < kMaxPinNameLength; ++i) {
    char c = value[i];
    if (c == kMarkEscape) {
      if (i + 1 == value.size()) break;  // a lone trailing backslash is dropped
      c = static_cast<char>(static_cast<unsigned char>(value[++i]) | kMarkBit);
    }
    name_.push_back(c);
  }
}

void PartPin::TextsBuilder::addNumber(std::string_view number) {
  appendEntry(numbers_, &number);
  ++numberCount_;
}

void PartPin::setTexts(const TextsBuilder& texts, int blockCount) {
  blockCount_ = static_cast<std::uint16_t>(std::clamp(blockCount, 0, kMaxBlockCount));
  numberCount_ = static_cast<std::uint16_t>(std::min<int>(texts.numberCount_, blockCount_));
  char code[kLongestEntryCode];
  const std::string_view name = texts.name_;
  const std::size_t codeSize = writeEntryCode(texts.hasName_ ? &name : nullptr, code);
  texts_.assign({std::string_view(code, codeSize), name, texts.numbers_});
}

void PartPin::setTexts(std::string_view name, std::span<const std::string_view> numbers,
                       int blockCount) {
  blockCount_ = static_cast<std::uint16_t>(std::clamp(blockCount, 0, kMaxBlockCount));
  numbers = numbers.first(std::min<std::size_t>(numbers.size(), blockCount_));
  numberCount_ = static_cast<std::uint16_t>(numbers.size());
  // Nearly always the texts fit in the pin itself (a short name and a
  // number or two, each entry's length in one byte): packed in place.
  std::size_t inPlaceSize = 1 + name.size();
  for (const std::string_view number : numbers) inPlaceSize += 1 + number.size();
  if (inPlaceSize <= CompactText::kLongestInPlace) {
    CompactText::Staging staged = {};
    std::size_t at = 0;
    const auto put = [&staged, &at](std::string_view text) {
      staged[at++] = static_cast<unsigned char>(text.size() + 1);
      copyShortText(staged + at, text);
      at += text.size();
    };
    put(name);
    for (const std::string_view number : numbers) put(number);
    texts_.assignStaged(staged, at);
    return;
  }
  // Else packed on the stack, or in a string when they are long, and then
  // copied into the pin.
  constexpr std::size_t kShortPacked = 64;
  std::size_t size = kLongestEntryCode + name.size();
  for (const std::string_view number : numbers) size += kLongestEntryCode + number.size();
  std::string longPacked;
  char shortPacked[kShortPacked];
  char* packed = shortPacked;
  if (size > kShortPacked) {
    longPacked.resize(size);
    packed = longPacked.data();
  }
  std::size_t at = 0;
  const auto put = [&packed, &at](std::string_view text) {
    char code[kLongestEntryCode];
    const std::size_t codeSize = writeEntryCode(&text, code);
    std::memcpy(packed + at, code, codeSize);
    at += codeSize;
    if (!text.empty()) std::memcpy(packed + at, text.data(), text.size());
    at += text.size();
  };
  put(name);
  for (const std::string_view number : numbers) put(number);
  texts_.assign(std::string_view(packed, at));
}

std::optional<std::string_view> PartPin::name() const {
  const std::string_view packed = texts_.view();
  if (packed.empty()) return std::nullopt;
  std::size_t at = 0;
  return nextEntry(packed, at);
}

std::optional<std::string_view> PartPin::number(int block) const {
  if (block < 0 || block >= numberCount_) return std::nullopt;
  const std::string_view packed = texts_.view();
  std::size_t at = 0;
  nextEntry(packed, at);  // the name
  for (int i = 0; i < block; ++i) nextEntry(packed, at);
  return nextEntry(packed, at);
}

PartPin::Numbers PartPin::numbers() const {
  Numbers numbers(blockCount_);
  const std::string_view packed = texts_.view();
  if (packed.empty()) return numbers;
  std::size_t at = 0;
  nextEntry(packed, at);  // the name
  for (int i = 0; i < numberCount_; ++i) numbers[static_cast<std::size_t>(i)] = nextEntry(packed, at);
  return numbers;
}

PartPattern::~PartPattern() = default;

std::int64_t PartPattern::strideFor(int width) {
  const std::int64_t stride = (static_cast<std::int64_t>(width) + 15) / 16 * 2;
  return std::max<std::int64_t>(stride, 0);
}

std::int64_t PartPattern::bitmapBytesFor(int width, int height) {
  if (width < 1 || height < 1) return -1;
  const std::int64_t bytes = strideFor(width) * height;  // at most about 2^61
  return bytes <= kMaxBitmapBytes ? bytes : -1;
}

PartDef::~PartDef() = default;

const PartPin* PartDef::pin(int index) const {
  if (index < 0 || index >= pinCount()) return nullptr;
  return &pins_[static_cast<std::size_t>(index)];
}

void PartDef::clear() {
  referencePrefix_.setNone();
  pattern_.reset();
  pins_.clear();
}

// ---------------------------------------------------------------------------
// Readers

bool readPartBlock(RecordReader& reader, PartDef& def, std::string& name,
                   std::string& patternName) {
  def.clear();
  name.clear();
  patternName.clear();
  int width = 0;
  int height = 0;
  int blocks = 0;
  std::string prefix = "U";
  PartDef::Pins pins;
  // Most parts have a handful of pins: room for them from the start saves
  // the small steps of growth.
  constexpr std::size_t kTypicalPinCount = 8;
  pins.reserve(kTypicalPinCount);
  PartPin::TextsBuilder pinTexts;

  // A pin needs the block count, so the sizes come first.
  const auto sizesRead = [&] { return width >= 1 && height >= 1 && blocks >= 1; };
  const auto readPin = [&] { return readPinBlock(reader, pins.emplace_back(), blocks, pinTexts); };

  BlockFields block(reader, "-COMP", ColonRule::kLax);
  block.claimNested(true);
  for (;;) {
    // The pins follow one another, each "+PIN" tag ended by a comma: such
    // a tag is taken where it stands, as the general way would take it.
    if (sizesRead()) {
      if (PlainFields tag(reader); tag.field(kPinTag)) {
        tag.commit(reader);
        if (!readPin()) return false;
        continue;
      }
    }
    const BlockFields::Item item = block.next();
    if (item == BlockFields::kEnded) break;
    if (item == BlockFields::kNested) {
      if (block.tag() != kPinTag) {
        if (!block.skipNested()) return false;
        continue;
      }
      if (!sizesRead() || !readPin()) return false;
      continue;
    }
    const std::string_view key = block.key();
    if (key == "N") {
      name.assign(block.value());
    } else if (key == "X") {
      width = block.number();
      if (width < 0) return false;
    } else if (key == "Y") {
      height = block.number();
      if (height < 0) return false;
    } else if (key == "B") {
      if (blocks != 0) return false;
      blocks = block.number();
      if (blocks < 0 || blocks > kMaxBlockCount) return false;
    } else if (key == "R") {
      prefix.assign(block.value());
    } else if (key == "P") {
      patternName.assign(block.value());
    }
  }

  switch (block.end()) {
    case BlockFields::kOwnEndTag:
      if (name.empty() || width < 1 || height < 1 || blocks < 1) return false;
      break;
    case BlockFields::kEndOfInput:
      // Cut off: keep what was read; the enclosing library section fails
      // at the same end of input, so such a definition is never used.
      break;
    default:
      return false;
  }
  def.setSize(Point(width, height));
  def.setBlockCount(blocks);
  def.setReferencePrefix(std::move(prefix));
  // Every component keeps its part: no spare room in the pin array.
  if (pins.capacity() != pins.size()) pins.shrink_to_fit();
  def.setPins(std::move(pins));
  return true;
}

bool readPinBlock(RecordReader& reader, PartPin& pin, int blockCount) {
  PartPin::TextsBuilder texts;
  return readPinBlock(reader, pin, blockCount, texts);
}

namespace {

// One key field of a pin block: N (the name), L (side letter and offset),
// T (flag letters) and M (one number per block of the part, as many as it
// has blocks). Other keys are ignored.
void takePinKey(char key, std::string_view value, PartPin& pin, int numbers,
                PartPin::TextsBuilder& texts) {
  switch (key) {
    case 'N':
      texts.setNameFromKey(value);
      break;
    case 'L': {
      // An empty value changes neither side nor offset.
      if (value.empty()) break;
      const int side = sideForLetter(value[0]);
      if (side >= 0) pin.setSide(side);
      const int offset = parseNumber(value.substr(1));
      if (offset >= 0 && offset <= kMaxPinOffset) pin.setOffset(offset);
      break;
    }
    case 'T':
      pin.setFlags(flagsForLetters(value));
      break;
    case 'M':
      if (texts.numberCount() < numbers) texts.addNumber(value);
      break;
    default:
      break;
  }
}

// The "L" value as the editor writes it, a side letter and one to three
// digits, taken as the "L" key takes it. False for any other value.
bool takePlainPlace(std::string_view place, PartPin& pin) {
  if (place.size() < 2 || place.size() > 4) return false;
  int offset = 0;
  for (std::size_t i = 1; i < place.size(); ++i) {
    const unsigned digit = static_cast<unsigned char>(place[i]) - unsigned{'0'};
    if (digit > 9) return false;
    offset = offset * 10 + static_cast<int>(digit);
  }
  const int side = sideForLetter(place[0]);
  if (side >= 0) pin.setSide(side);
  if (offset <= kMaxPinOffset) pin.setOffset(offset);
  return true;
}

// Pin names are a few bytes: a loop beats a call of memchr.
bool containsMarkEscape(std::string_view name) {
  for (const char c : name) {
    if (c == kMarkEscape) return true;
  }
  return false;
}

// A pin block as the editor writes it, "N:A0,L:L0,T:C,M:1,-PIN" with one M
// for each block of the part (up to a few), taken in one pass. False, with
// nothing read, for any other form: the general reader then takes it.
bool readPlainPinBlock(RecordReader& reader, PartPin& pin, int numbers,
                       PartPin::TextsBuilder& texts) {
  constexpr int kMostNumbers = 4;
  PlainFields fields(reader);
  std::string_view name;
  std::string_view place;
  std::string_view flags;
  std::string_view pinNumbers[kMostNumbers];
  int numberFields = 0;
  if (!(fields.key("N:") && fields.text(name) && fields.key("L:") && fields.text(place) &&
        fields.key("T:") && fields.text(flags))) {
    return false;
  }
  while (fields.at("M:")) {
    if (numberFields == kMostNumbers) return false;
    if (!(fields.key("M:") && fields.text(pinNumbers[numberFields]))) return false;
    ++numberFields;
  }
  if (!fields.field("-PIN")) return false;
  if (!takePlainPlace(place, pin)) takePinKey('L', place, pin, numbers, texts);
  pin.setFlags(flagsForLetters(flags));
  if (!containsMarkEscape(name)) {
    // The name is kept as it stands: its texts go to the pin directly.
    pin.setTexts(name.substr(0, kMaxPinNameLength),
                 std::span<const std::string_view>(pinNumbers, static_cast<std::size_t>(numberFields)),
                 numbers);
  } else {
    takePinKey('N', name, pin, numbers, texts);
    for (int i = 0; i < numberFields; ++i) takePinKey('M', pinNumbers[i], pin, numbers, texts);
    pin.setTexts(texts, numbers);
  }
  fields.commit(reader);
  return true;
}

}  // namespace

bool readPinBlock(RecordReader& reader, PartPin& pin, int blockCount,
                  PartPin::TextsBuilder& texts) {
  texts.clear();
  const int numbers = std::clamp(blockCount, 0, kMaxBlockCount);
  if (readPlainPinBlock(reader, pin, numbers, texts)) return true;

  BlockFields block(reader, "-PIN", ColonRule::kLax);
  while (block.next() == BlockFields::kKey) {
    const std::string_view key = block.key();
    if (key.size() == 1) takePinKey(key[0], block.value(), pin, numbers, texts);
  }
  pin.setTexts(texts, numbers);
  // The end of input ends the pin; the enclosing readers fail on it.
  return block.end() == BlockFields::kOwnEndTag || block.end() == BlockFields::kEndOfInput;
}

bool readPatternBlock(RecordReader& reader, PartPattern& pattern) {
  pattern.releaseData();
  std::string localName;
  // Set when the bitmap is too large to hold: the pattern then fails at its
  // end tag, after its rows were skipped, so that the enclosing section
  // stays in step and can drop just the pattern.
  bool refused = false;

  BlockFields block(reader, "-PTN", ColonRule::kStrict);
  block.claimNested(true);
  for (;;) {
    const BlockFields::Item item = block.next();
    if (item == BlockFields::kEnded) break;
    if (item == BlockFields::kNested) {
      const Point& size = pattern.size();
      const bool readable = block.tag() == kBitmapTag && size.x >= 1 && size.y >= 1 &&
                            !localName.empty() && !pattern.hasData() && !refused;
      if (!readable) {
        if (!block.skipNested()) return false;
        continue;
      }
      const std::int64_t bytes = PartPattern::bitmapBytesFor(size.x, size.y);
      if (bytes < 0) {
        refused = true;
        if (!block.skipNested()) return false;
        continue;
      }
      std::optional<PartPattern::Bytes> data =
          readBitmapRows(reader, pattern, static_cast<std::size_t>(bytes));
      if (!data) return false;
      pattern.setData(std::move(*data));
      continue;
    }
    const std::string_view key = block.key();
    if (key == "X") {
      pattern.setWidth(block.number());
    } else if (key == "Y") {
      pattern.setHeight(block.number());
    } else if (key == "N") {
      pattern.setName(block.value());
      localName.assign(block.value());
    }
  }

  switch (block.end()) {
    case BlockFields::kOwnEndTag:
      return pattern.hasData();
    case BlockFields::kEndOfInput:
      // The enclosing library section fails at this end of input anyway.
      return !refused;
    default:
      return false;
  }
}

std::optional<PartPattern::Bytes> readBitmapRows(RecordReader& reader,
                                                 const PartPattern& pattern,
                                                 std::size_t dataSize) {
  // Rows are plain fields, not key fields, so this block is read field by
  // field rather than through BlockFields. At most 501 columns and 501 rows
  // are decoded; the row stride follows the decoded width.
  const int width = std::clamp(pattern.size().x, 0, kMaxDecodedBitmapSide);
  const int height = std::clamp(pattern.size().y, 0, kMaxDecodedBitmapSide);
  const auto stride = static_cast<std::size_t>(PartPattern::strideFor(width));
  const auto bytesPerRow = static_cast<std::size_t>((width + 7) / 8);

  PartPattern::Bytes bitmap(dataSize, 0);
  int row = 0;
  std::size_t rowStart = 0;
  std::string_view field;
  for (;;) {
    if (bytesPerRow != 0) readPlainBitmapRows(reader, bytesPerRow, stride, height, bitmap, row, rowStart);
    if (reader.readFieldView(field) == -1) return std::nullopt;
    // A row of bitmap characters never starts with '-' or '+' (nor is it
    // empty): one test tells a row from an end tag or a nested block.
    const auto first = field.empty() ? 0 : static_cast<unsigned char>(field[0]);
    if (first <= '-') {
      if (startsWith(field, '-')) {
        if (field == kBitmapEnd) return bitmap;
        return std::nullopt;
      }
      if (startsWith(field, '+')) {
        if (!skipBlock(reader, field)) return std::nullopt;
        continue;
      }
    }
    if (row < height) {
      // At most the row's bytes, the text's pairs and what is left of the
      // bitmap.
      if (rowStart < bitmap.size()) {
        const std::size_t pairs =
            std::min(std::min(bytesPerRow, field.size() / 2), bitmap.size() - rowStart);
        decodePairs(reinterpret_cast<const unsigned char*>(field.data()),
                    bitmap.data() + rowStart, pairs);
      }
      ++row;
      rowStart += stride;
    }
  }
}

// ---------------------------------------------------------------------------
// Writers

bool writePartBlock(RecordWriter& writer, const PartDef& def,
                    std::optional<std::string_view> name) {
  if (!name || name->empty()) return false;
  const PartPattern* pattern = def.pattern();
  if (pattern != nullptr && !writePatternBlock(writer, *pattern, name)) return false;

  writer.writeField("+COMP");
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
  writer.writeField("-COMP");
  writer.endLine();
  return true;
}

bool writePinBlock(RecordWriter& writer, const PartPin& pin) {
  writer.writeField("+PIN");
  writer.writeText("N", encodePinName(pin.name().value_or(std::string_view())));
  std::string place(1, letterForSide(pin.side()));
  place += std::to_string(pin.offset());
  writer.writeText("L", place);
  writer.writeText("T", lettersForFlags(pin.flags()));
  // A number that was never read is written empty; it reads back as an
  // empty number in the same block, so later blocks keep their places.
  for (int block = 0; block < pin.blockCount(); ++block) {
    writer.writeText("M", pin.number(block).value_or(std::string_view()));
  }
  writer.writeField("-PIN");
  return true;
}

bool writePatternBlock(RecordWriter& writer, const PartPattern& pattern,
                       std::optional<std::string_view> name) {
  const std::optional<std::string_view> written = name ? name : pattern.name();
  writer.writeField("+PTN");
  writer.writeText("N", written.value_or(std::string_view()));
  writer.writeInt("X", pattern.size().x);
  writer.writeInt("Y", pattern.size().y);
  writer.endLine();
  writer.writeField("+BMP");
  writer.endLine();

  const PartPattern::Bytes& data = pattern.data();
  const std::int64_t stride = PartPattern::strideFor(pattern.size().x);
  const std::int64_t bytesPerRow = (static_cast<std::int64_t>(pattern.size().x) + 7) / 8;
  const auto dataSize = static_cast<std::int64_t>(data.size());
  std::string text;
  for (std::int64_t row = 0; row < pattern.size().y; ++row) {
    text.clear();
    const std::int64_t rowStart = row * stride;
    for (std::int64_t j = 0; j < bytesPerRow && rowStart + j < dataSize; ++j) {
      const unsigned char byte = data[static_cast<std::size_t>(rowStart + j)];
      text.push_back(static_cast<char>(kNibbleBase + (byte >> 4)));
      text.push_back(static_cast<char>(kNibbleBase + (byte & 0x0f)));
    }
    writer.writeField(text);
    writer.endLine();
  }
  writer.writeField("-BMP");
  writer.endLine();
  writer.writeField("-PTN");
  writer.endLine();
  return true;
}

}  // namespace vesk
