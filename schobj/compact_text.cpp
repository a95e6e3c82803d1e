#include "schobj/compact_text.h"

#include <cstring>

#include "schobj/bulk_memory.h"

namespace vesk {

CompactText::CompactText(CompactText&& other) noexcept {
  std::memcpy(storage_, other.storage_, kSize);
  other.storage_[kInPlace] = 0;  // the block, if any, is ours now
}

CompactText& CompactText::operator=(const CompactText& other) {
  if (this != &other) {
    releaseBlock();
    copyFrom(other);
  }
  return *this;
}

void CompactText::copyFrom(const CompactText& other) {
  // A text held in place (or none) is copied as it stands: the common
  // case, and the one copy of a component makes for each of its texts.
  if (other.kind() != kInBlock) {
    std::memcpy(storage_, other.storage_, kSize);
  } else {
    assign(other.view());
  }
}

CompactText& CompactText::operator=(CompactText&& other) noexcept {
  if (this != &other) {
    releaseBlock();
    std::memcpy(storage_, other.storage_, kSize);
    other.storage_[kInPlace] = 0;
  }
  return *this;
}

char* CompactText::blockBytes() const {
  char* bytes = nullptr;
  std::memcpy(&bytes, storage_, sizeof bytes);
  return bytes;
}

std::uint32_t CompactText::blockSize() const {
  std::uint32_t size = 0;
  std::memcpy(&size, storage_ + sizeof(char*), sizeof size);
  return size;
}

std::string_view CompactText::view() const {
  const unsigned char k = kind();
  if (k == kInBlock) return std::string_view(blockBytes(), blockSize());
  if (k == kNone) return std::string_view();
  return std::string_view(reinterpret_cast<const char*>(storage_), k);
}

std::optional<std::string_view> CompactText::optionalView() const {
  if (isNone()) return std::nullopt;
  return view();
}

void CompactText::assignOrNone(const std::optional<std::string_view>& text) {
  if (text) {
    assign({*text});
  } else {
    setNone();
  }
}

void CompactText::assign(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  // The new bytes are put together before the old ones go, since a part
  // may view them.
  unsigned char next[kSize] = {};
  char* block = nullptr;
  char* target = reinterpret_cast<char*>(next);
  if (size > kInPlace) {
    // Nothing below can throw, so the block cannot be lost.
    block = static_cast<char*>(allocateBulk(size, 1));
    target = block;
  }
  for (const std::string_view part : parts) {
    if (!part.empty()) std::memcpy(target, part.data(), part.size());
    target += part.size();
  }
  if (block != nullptr) {
    // Texts come from fields of at most 32,768 bytes, or a pin's name and
    // 256 numbers of such fields: far below 2^32.
    const auto blockSize = static_cast<std::uint32_t>(size);
    std::memcpy(next, &block, sizeof block);
    std::memcpy(next + sizeof block, &blockSize, sizeof blockSize);
    next[kInPlace] = kInBlock;
  } else {
    next[kInPlace] = static_cast<unsigned char>(size);
  }
  releaseBlock();
  std::memcpy(storage_, next, kSize);
}

void CompactText::setNone() {
  releaseBlock();
  storage_[kInPlace] = kNone;
}

void CompactText::freeBlock() { freeBulk(blockBytes(), blockSize(), 1); }

}  // namespace vesk
