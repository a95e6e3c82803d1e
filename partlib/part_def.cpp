#include "partlib/part_def.h"

#include <algorithm>

namespace vesk {

void PartPin::clearTexts(int blockCount) {
  name_.reset();
  numbers_.assign(static_cast<std::size_t>(std::clamp(blockCount, 0, kMaxBlockCount)), std::nullopt);
}

void PartPin::setNumber(int block, std::string_view number) {
  if (block >= 0 && block < blockCount()) numbers_[static_cast<std::size_t>(block)].emplace(number);
}

std::optional<std::string_view> PartPin::number(int block) const {
  if (block < 0 || block >= blockCount()) return std::nullopt;
  return numbers_[static_cast<std::size_t>(block)];
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
  referencePrefix_.reset();
  pattern_.reset();
  pins_.clear();
}

}  // namespace vesk
