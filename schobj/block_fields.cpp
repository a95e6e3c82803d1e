#include "schobj/block_fields.h"

#include <cstring>

#include "schfile/number_text.h"
#include "schfile/record_reader.h"

namespace vesk {

bool skipBlock(RecordReader& reader, std::string_view startTag) {
  // The tag may view the reader's own field, which reading on overwrites:
  // the end tag is made first (on the stack for every real tag).
  constexpr std::size_t kShortTag = 64;
  char shortTag[kShortTag];
  std::string longTag;
  char* endTag = shortTag;
  if (startTag.size() > kShortTag) {
    longTag.assign(startTag);
    endTag = longTag.data();
  } else if (!startTag.empty()) {
    std::memcpy(shortTag, startTag.data(), startTag.size());
  }
  if (!startTag.empty()) endTag[0] = '-';
  return reader.skipTo(std::string_view(endTag, startTag.size())) == 0;
}

BlockFields::Item BlockFields::next() {
  if (end_ != kNotEnded) return kEnded;
  for (;;) {
    if (reader_.readFieldView(field_) == -1) {
      end_ = kEndOfInput;
      return kEnded;
    }
    const std::size_t size = field_.size();
    if (size == 0) continue;  // an empty field has no key
    const char first = field_[0];
    if (first == '-') {
      end_ = field_ == endTag_ ? kOwnEndTag : kOtherEndTag;
      return kEnded;
    }
    if (first == '+') {
      if (claimNested_) return kNested;
      if (!skipNested()) return kEnded;
      continue;
    }
    // Keys are a few bytes long: a plain loop finds the colon sooner than
    // a library search would be called.
    std::size_t colon = 1;
    while (colon < size && field_[colon] != ':') ++colon;
    if (first == ':' || colon == size) continue;
    if (rule_ == ColonRule::kStrict && colon + 1 == size) continue;
    key_ = std::string_view(field_.data(), colon);
    value_ = std::string_view(field_.data() + colon + 1, size - colon - 1);
    return kKey;
  }
}

bool BlockFields::skipNested() {
  if (skipBlock(reader_, field_)) return true;
  end_ = kSkipFailed;
  return false;
}

int BlockFields::number() const { return parseNumber(value_); }

}  // namespace vesk
