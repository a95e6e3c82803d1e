// CompactText: a byte string in 16 bytes, which can also be "none".
//
// A component and its part definition hold seven texts, a pin packs its
// name and numbers into one, and a large design holds hundreds of
// thousands of components. A std::string takes 32 bytes and an optional
// one 40. This type
// keeps a text of up to 15 bytes in place (names, references, prefixes and
// short notes: nearly all of them) and a longer one in a block of its own,
// in 16 bytes either way, and tells none from the empty text.
//
// Any bytes may stand in a text, zero bytes included. Copies are deep; the
// text owns its block and frees it when it is destroyed or replaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace vesk {

class CompactText {
 public:
  // The empty text.
  CompactText() = default;
  explicit CompactText(std::string_view text) { assign(text); }
  static CompactText none() {
    CompactText text;
    text.setNone();
    return text;
  }
  CompactText(const CompactText& other) { copyFrom(other); }
  CompactText(CompactText&& other) noexcept {
    std::memcpy(storage_, other.storage_, kSize);
    other.storage_[kInPlace] = 0;  // the block, if any, is ours now
  }
  CompactText& operator=(const CompactText& other);
  CompactText& operator=(CompactText&& other) noexcept;
  ~CompactText() { releaseBlock(); }

  bool isNone() const { return kind() == kNone; }
  // The bytes; empty for none.
  std::string_view view() const {
    const unsigned char k = kind();
    if (k <= kInPlace) return std::string_view(reinterpret_cast<const char*>(storage_), k);
    return viewOfBlockOrNone();
  }
  // None, or the bytes.
  std::optional<std::string_view> optionalView() const;

  void assign(std::string_view text) {
    // The common case inline: a short text over a text held in place.
    if (text.size() <= kInPlace && kind() != kInBlock) {
      // memmove: the text may view these very bytes.
      if (!text.empty()) std::memmove(storage_, text.data(), text.size());
      storage_[kInPlace] = static_cast<unsigned char>(text.size());
      return;
    }
    assign({text});
  }
  // None for none, else the bytes.
  void assignOrNone(const std::optional<std::string_view>& text);
  // The bytes of `parts`, one after the other. The parts may view this
  // text itself.
  void assign(std::initializer_list<std::string_view> parts);
  void setNone();

 private:
  static constexpr std::size_t kSize = 16;
  // The longest text held in the 16 bytes themselves.
  static constexpr std::size_t kInPlace = 15;
  // The last byte tells what the others hold: 0 to 15 bytes in place, or
  // a block (its pointer and 32-bit size at the start), or none.
  static constexpr unsigned char kInBlock = 0x80;
  static constexpr unsigned char kNone = 0xff;

  unsigned char kind() const { return storage_[kInPlace]; }
  char* blockBytes() const;
  std::uint32_t blockSize() const;
  void releaseBlock() {
    if (kind() == kInBlock) freeBlock();
    storage_[kInPlace] = 0;
  }
  void freeBlock();
  // Takes a copy of `other`'s text; this text holds no block.
  void copyFrom(const CompactText& other) {
    // A text held in place (or none) is copied as it stands: the common
    // case, and the one copy of a component makes for each of its texts.
    if (other.kind() != kInBlock) {
      std::memcpy(storage_, other.storage_, kSize);
    } else {
      assign(other.view());
    }
  }
  std::string_view viewOfBlockOrNone() const;

  alignas(8) unsigned char storage_[kSize] = {};
};

}  // namespace vesk
