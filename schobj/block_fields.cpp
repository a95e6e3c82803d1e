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

BlockFields::Item BlockFields::nextAtTag() {
  if (field_[0] == '-') {
    end_ = field_ == endTag_ ? kOwnEndTag : kOtherEndTag;
    return kEnded;
  }
  if (claimNested_) return kNested;
  return skipNested() ? kKey : kEnded;
}

bool BlockFields::skipNested() {
  if (skipBlock(reader_, field_)) return true;
  end_ = kSkipFailed;
  return false;
}

int BlockFields::number() const { return parseNumber(value_); }

}  // namespace vesk
