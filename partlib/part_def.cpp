#include "partlib/part_def.h"

#include <algorithm>

namespace vesk {

namespace {

// Appends the entry of `text` (none when null) to `packed`.
void appendEntry(std::string& packed, const std::string_view* text) {
  std::size_t code = text != nullptr ? text->size() + 1 : 0;
  for (; code >= 0x80; code >>= 7) packed.push_back(static_cast<char>((code & 0x7f) | 0x80));
  packed.push_back(static_cast<char>(code));
  if (text != nullptr) packed.append(*text);
}

// Reads the entry at `at` and moves `at` past it.
std::optional<std::string_view> nextEntry(std::string_view packed, std::size_t& at) {
  std::size_t code = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(packed[at++]);
    code |= static_cast<std::size_t>(byte & 0x7f) << shift;
    if ((byte & 0x80) == 0) break;
  }
  if (code == 0) return std::nullopt;
  const std::string_view text = packed.substr(at, code - 1);
  at += code - 1;
  return text;
}

}  // namespace

void PartPin::clearTexts(int blockCount) {
  texts_.clear();
  blockCount_ = static_cast<std::uint16_t>(std::clamp(blockCount, 0, kMaxBlockCount));
  numberCount_ = 0;
}

void PartPin::setName(std::optional<std::string_view> name) {
  std::string entry;
  appendEntry(entry, name ? &*name : nullptr);
  std::size_t oldEntryEnd = 0;
  if (!texts_.empty()) nextEntry(texts_, oldEntryEnd);
  texts_.replace(0, oldEntryEnd, entry);
}

void PartPin::addNumber(std::string_view number) {
  if (numberCount_ >= blockCount_) return;
  if (texts_.empty()) appendEntry(texts_, nullptr);  // the name: none
  appendEntry(texts_, &number);
  ++numberCount_;
}

std::optional<std::string_view> PartPin::name() const {
  if (texts_.empty()) return std::nullopt;
  std::size_t at = 0;
  return nextEntry(texts_, at);
}

std::optional<std::string_view> PartPin::number(int block) const {
  if (block < 0 || block >= numberCount_) return std::nullopt;
  std::size_t at = 0;
  nextEntry(texts_, at);  // the name
  for (int i = 0; i < block; ++i) nextEntry(texts_, at);
  return nextEntry(texts_, at);
}

PartPin::Numbers PartPin::numbers() const {
  Numbers numbers(blockCount_);
  if (texts_.empty()) return numbers;
  std::size_t at = 0;
  nextEntry(texts_, at);  // the name
  for (int i = 0; i < numberCount_; ++i) numbers[static_cast<std::size_t>(i)] = nextEntry(texts_, at);
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

const PartPin* PartDef::pin(int index) const {
  if (index < 0 || index >= pinCount()) return nullptr;
  return &pins_[static_cast<std::size_t>(index)];
}

void PartDef::clear() {
  referencePrefix_.reset();
  pattern_.reset();
  pins_.clear();
}

}  // namespace vesk
