#include "memory/compact_text.h"

#include <cstring>
#include <new>

namespace vesk {

CompactText& CompactText::operator=(const CompactText& other) {
  if (this != &other) {
    releaseBlock();
    copyFrom(other);
  }
  return *this;
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

std::string_view CompactText::viewOfBlockOrNone() const {
  if (kind() == kInBlock) return std::string_view(blockBytes(), blockSize());
  return std::string_view();
}

std::optional<std::string_view> CompactText::optionalView() const {
  if (isNone()) return std::nullopt;
  return view();
}

void CompactText::assignOrNone(const std::optional<std::string_view>& text) {
  if (text) {
    // From none, assign() takes a short text in place.
    if (isNone()) storage_[kInPlace] = 0;
    assign(*text);
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
    block = static_cast<char*>(::operator new(size));
    target = block;
  }
  for (const std::string_view part : parts) {
    if (block == nullptr) {
      // At most 15 bytes in all, mostly a few: copied byte by byte, where
      // a call of memcpy per part would cost more than the copy.
      for (const char c : part) *target++ = c;
    } else {
      if (!part.empty()) std::memcpy(target, part.data(), part.size());
      target += part.size();
    }
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

// The unsized form: clang before version 17 declares the sized one only
// with -fsized-deallocation, and the heap does not need the size.
void CompactText::freeBlock() { ::operator delete(blockBytes()); }

}  // namespace vesk
