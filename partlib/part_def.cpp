#include "partlib/part_def.h"

#include <algorithm>

namespace vesk {

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
  nameSize_ = 0;
  for (std::size_t i = 0; i < value.size() && nameSize_ < kMaxPinNameLength; ++i) {
    char c = value[i];
    if (c == kPinNameMark) {
      if (i + 1 == value.size()) break;  // a lone trailing backslash is dropped
      c = static_cast<char>(static_cast<unsigned char>(value[++i]) | kPinNameMarkBit);
    }
    name_[nameSize_++] = c;
  }
}

void PartPin::TextsBuilder::addNumber(std::string_view number) {
  char code[kLongestEntryCode];
  const std::size_t codeSize = writeEntryCode(&number, code);
  const std::size_t size = numbersSize_ + codeSize + number.size();
  if (size <= kShortNumbers) {
    for (std::size_t i = 0; i < codeSize; ++i) shortNumbers_[numbersSize_ + i] = code[i];
    for (std::size_t i = 0; i < number.size(); ++i) {
      shortNumbers_[numbersSize_ + codeSize + i] = number[i];
    }
  } else {
    if (numbersSize_ <= kShortNumbers) longNumbers_.assign(shortNumbers_, numbersSize_);
    longNumbers_.append(code, codeSize);
    longNumbers_.append(number);
  }
  numbersSize_ = size;
  ++numberCount_;
}

void PartPin::setTexts(const TextsBuilder& texts, int blockCount) {
  blockCount_ = static_cast<std::uint16_t>(std::clamp(blockCount, 0, kMaxBlockCount));
  numberCount_ = static_cast<std::uint16_t>(std::min<int>(texts.numberCount_, blockCount_));
  char code[kLongestEntryCode];
  const bool named = texts.nameSize_ != TextsBuilder::kNoName;
  const std::string_view name(texts.name_, named ? texts.nameSize_ : 0);
  const std::size_t codeSize = writeEntryCode(named ? &name : nullptr, code);
  texts_.assign({std::string_view(code, codeSize), name, texts.numbers()});
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

}  // namespace vesk
